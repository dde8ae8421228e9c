// SPDX-License-Identifier: GPL-3.0-or-later
// The course's results on their way to a Learning Record Store: one statement appended to the
// outbox (the step a finished test and every answer take; target under 2 ms), and the outbox sent
// to a store on this machine (target at least 500 statements a second), the real one the tests
// run (tests/lrs, installed by scripts/install-test-lrs).
#include "core/results/outbox.h"
#include "core/results/results_settings.h"
#include "core/results/statement.h"
#include "results/lrs_client.h"
#include "results/results_sender.h"
#include "test_lrs.h"

#include <QApplication>
#include <QDateTime>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace velmora;

namespace {

const ResultsSettings kSettings{QStringLiteral("http://127.0.0.1:9/xAPI/"), QStringLiteral("k"),
                                QStringLiteral("s"),
                                QStringLiteral("https://school.kz/courses/is-101")};

QByteArray completedLine(const ResultsSettings& settings, int n) {
    return Statement::line(
        Statement::completed(settings,
                             {QStringLiteral("student%1").arg(n % 300), QStringLiteral("test3"),
                              1 + n % 5, 3, 95'000, 0x00c0ffee00c0ffeeULL, 10},
                             QUuid::createUuid(), QDateTime::currentDateTimeUtc()));
}

// One statement appended and flushed, the outbox growing as in a lesson without network.
void BM_OutboxAppend(benchmark::State& state) {
    const QTemporaryDir folder;
    const Outbox outbox(folder.path());
    int n = 0;
    for (auto _ : state) {
        outbox.append({completedLine(kSettings, n++)});
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_OutboxAppend)->Unit(benchmark::kMillisecond)->UseRealTime();

// The event loop the sender's requests run in needs an application; made once, never destroyed
// (as the journal benchmarks' own, which takes this one when it runs later).
void needApplication() {
    if (QCoreApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "velmora_bench";
        static char* argv[] = {name, nullptr};
        qputenv("QT_QPA_PLATFORM", "offscreen");
        new QApplication(argc, argv);
    }
}

// 1,000 waiting statements sent to the local store in batches of 100.
void BM_SendToLocalLrs(benchmark::State& state) {
    needApplication();
    test::TestLrs lrs;
    if (!lrs.start()) {
        state.SkipWithError(lrs.error().toUtf8().constData());
        return;
    }
    const QTemporaryDir folder;
    const Outbox outbox(folder.path());
    LrsClient client(lrs.settings());
    constexpr int kStatements = 1000;
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QList<QByteArray> lines;
        for (int i = 0; i < kStatements; ++i) {
            lines << completedLine(lrs.settings(), n++);
        }
        outbox.append(lines);
        state.ResumeTiming();
        const SendReport report = ResultsSender(folder.path(), client).send();
        if (report.accepted != kStatements) {
            state.SkipWithError(report.error.toUtf8().constData());
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * kStatements);
}
BENCHMARK(BM_SendToLocalLrs)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace
