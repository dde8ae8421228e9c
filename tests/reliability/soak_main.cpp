// SPDX-License-Identifier: GPL-3.0-or-later
// Soak runs of a course folder shared by several copies of the program, as separate processes.
//   velmora_soak shared WORKERS OPS   WORKERS processes each do OPS operations in one folder at
//                                     once (register a student, write a grade, append a log line
//                                     in turn); then every operation must be found exactly once.
//   velmora_soak kill RUNS            a writer of the register is killed with SIGKILL at a random
//                                     moment RUNS times; after each kill the register must be
//                                     exactly the old or the new content, and at the end at
//                                     most one temporary file may be left.
//   velmora_soak attempt RUNS         a student's attempt at a test with settings is killed at a
//                                     random moment RUNS times; after each kill the attempt must
//                                     hold every confirmed answer, none twice.
// The worker modes below are what the drivers start. Exit status 0 means the soak held; the
// figures are printed on standard output.

#include "attempt_soak.h"
#include "soak_checks.h"
#include "soak_operations.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <random>

using namespace velmora::soak;

namespace {

int runShared(int workers, int ops) {
    const QTemporaryDir folder;
    prepareFolder(folder.path());
    QElapsedTimer timer;
    timer.start();
    std::vector<std::unique_ptr<QProcess>> processes;
    for (int w = 0; w < workers; ++w) {
        auto& p = processes.emplace_back(std::make_unique<QProcess>());
        p->setWorkingDirectory(folder.path());
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("worker"), QString::number(w), QString::number(ops)});
    }
    bool workersOk = true;
    for (auto& p : processes) {
        workersOk = p->waitForFinished(-1) && p->exitStatus() == QProcess::NormalExit &&
                    p->exitCode() == 0 && workersOk;
    }
    const double seconds = static_cast<double>(timer.elapsed()) / 1000.0;
    std::printf("shared folder: %d processes x %d operations in %.1f s (%.0f operations/s)\n",
                workers, ops, seconds, workers * ops / seconds);
    if (!workersOk) {
        std::fputs("a worker failed\n", stderr);
        return 1;
    }
    const SharedFolderReport report = checkSharedFolder(folder.path(), workers, ops);
    std::printf("found: %lld students, %lld grades, %lld log lines; problems: %lld\n",
                report.students, report.grades, report.logLines,
                static_cast<long long>(report.problems.size()));
    for (const QString& problem : report.problems.mid(0, 20)) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
    }
    return report.problems.isEmpty() ? 0 : 1;
}

// Starts a writer for `step` and kills it after `delayUs`; false when it did not start.
bool killWriter(const QString& folder, int step, unsigned long delayUs) {
    QProcess writer;
    writer.setWorkingDirectory(folder);
    writer.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("write"), QString::number(step)});
    if (!writer.waitForReadyRead(10000)) {
        return false;
    }
    QThread::usleep(delayUs);
    writer.kill();
    return writer.waitForFinished(10000);
}

int runKill(int runs) {
    const QTemporaryDir folder;
    const QTemporaryDir scratch;
    prepareKillFolder(folder.path());
    // How long one write takes here, measured in-process, so that the kills fall across it.
    QElapsedTimer timer;
    timer.start();
    const QByteArray first = expectedAfter(scratch.path(), registerText(folder.path()), 0);
    const auto writeUs =
        static_cast<unsigned long>(std::max<qint64>(timer.nsecsElapsed() / 1000, 200));
    std::mt19937 random(20261208); // fixed: a failing run can be replayed
    std::uniform_int_distribution<unsigned long> delayUs(0, 3 * writeUs / 2);
    int step = 0;
    int completed = 0;
    int interrupted = 0;
    timer.restart();
    for (int run = 0; run < runs; ++run) {
        const QByteArray before = registerText(folder.path());
        const QByteArray after = run == 0 ? first : expectedAfter(scratch.path(), before, step);
        if (!killWriter(folder.path(), step, delayUs(random))) {
            std::fprintf(stderr, "run %d: the writer did not start or end\n", run);
            return 1;
        }
        const QByteArray now = registerText(folder.path());
        if (now == after) {
            ++completed;
            ++step;
        } else if (now == before) {
            ++interrupted;
        } else {
            std::fprintf(stderr,
                         "run %d, step %d: the register is neither the old nor the new one "
                         "(%lld bytes, old %lld, new %lld)\n",
                         run, step, static_cast<long long>(now.size()),
                         static_cast<long long>(before.size()),
                         static_cast<long long>(after.size()));
            return 1;
        }
    }
    const int leftovers = leftoverTemporaryFiles(folder.path());
    std::printf("killed writer: %d kills in %.1f s, one write about %lu us; %d left the new "
                "register, %d the old one, none anything else; %d temporary files left behind\n",
                runs, static_cast<double>(timer.elapsed()) / 1000.0, writeUs, completed,
                interrupted, leftovers);
    // Each write removes the temporary files that the kills before it left, so at most the last
    // kill's one remains.
    if (leftovers > 1) {
        std::fprintf(stderr, "%d temporary files left behind; at most one may be\n", leftovers);
        return 1;
    }
    // Both outcomes must occur, or the kills did not fall across the writes.
    return completed > 0 && interrupted > 0 ? 0 : 1;
}

int usage() {
    std::fputs("usage: velmora_soak shared WORKERS OPS | kill RUNS | attempt RUNS\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    const auto number = [&](int i) { return args.value(i).toInt(); };
    try {
        if (args.size() == 3 && args[0] == QStringLiteral("shared")) {
            return runShared(number(1), number(2));
        }
        if (args.size() == 2 && args[0] == QStringLiteral("kill")) {
            return runKill(number(1));
        }
        if (args.size() == 2 && args[0] == QStringLiteral("attempt")) {
            return runAttemptKills(number(1));
        }
        if (args.size() == 1 && args[0] == QStringLiteral("attempt-taker")) {
            runAttemptTaker();
            return 0;
        }
        if (args.size() == 3 && args[0] == QStringLiteral("worker")) {
            runWorker(number(1), number(2));
            return 0;
        }
        if (args.size() == 2 && args[0] == QStringLiteral("write")) {
            prepareStep();
            std::puts("writing");
            std::fflush(stdout);
            applyStep(number(1));
            // Stay until killed, so that the driver's kill never meets an ended process.
            QThread::sleep(60);
            return 0;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return usage();
}
