// SPDX-License-Identifier: GPL-3.0-or-later
#include "attempt_soak.h"

#include "core/exam/attempt_file.h"
#include "core/exam/test_run.h"
#include "support/test_file_builder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <random>

namespace velmora::soak {
namespace {

const QString kStudent = QStringLiteral("Студент");
const QString kTest = QStringLiteral("test1");
constexpr int kHeld = 40;
constexpr int kDraw = 25;

TestSettings settings() {
    TestSettings s;
    s.draw = kDraw;
    s.shuffleAnswers = true;
    return s;
}

// The screen position the taker chooses for its k-th answer (0-based).
int screenChoice(qsizetype k) {
    return int(k % kAnswersPerQuestion) + 1;
}

QList<QByteArray> confirmedLines(const QString& folder) {
    QFile file(folder + QStringLiteral("/confirmed.txt"));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QList<QByteArray> lines = file.readAll().split('\n');
    lines.removeAll(QByteArray());
    return lines;
}

// What is wrong with the attempt found after a kill; empty when it holds.
// `complete` tells whether every drawn question was answered.
QString check(const QString& folder, std::optional<AttemptPlan>& plan, bool& complete) {
    complete = false;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder);
    std::optional<Attempt> attempt;
    try {
        attempt = AttemptFile::load(kStudent);
    } catch (const std::exception& e) {
        QDir::setCurrent(previous);
        return QString::fromUtf8(e.what());
    }
    QDir::setCurrent(previous);
    const QList<QByteArray> confirmed = confirmedLines(folder);
    if (!attempt) {
        return confirmed.isEmpty() ? QString() : QStringLiteral("the attempt file is gone");
    }
    if (plan && attempt->plan != *plan) {
        return QStringLiteral("the draw or the orders changed");
    }
    plan = attempt->plan;
    const qsizetype answered = attempt->chosen.size();
    complete = answered == attempt->plan.sections.size();
    if (answered < confirmed.size() || answered > confirmed.size() + 1) {
        return QStringLiteral("%1 answers saved, %2 confirmed").arg(answered).arg(confirmed.size());
    }
    for (qsizetype k = 0; k < answered; ++k) {
        const int expected = AttemptPlan::filePosition(attempt->plan.orders[k], screenChoice(k));
        if (attempt->chosen[k] != expected ||
            (k < confirmed.size() && confirmed[k].toInt() != expected)) {
            return QStringLiteral("answer %1 is not the one given").arg(k + 1);
        }
    }
    // The answer in flight was saved: it stands confirmed now, as the program never asks a saved
    // answer again.
    QFile record(folder + QStringLiteral("/confirmed.txt"));
    if (!record.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return QStringLiteral("cannot write confirmed.txt");
    }
    for (const int position : attempt->chosen) {
        record.write(QByteArray::number(position) + '\n');
    }
    return {};
}

} // namespace

void runAttemptTaker() {
    std::optional<Attempt> saved = AttemptFile::load(kStudent);
    TestRun run;
    std::optional<Question> next;
    if (saved) {
        next = run.resume(kTest, saved->plan, saved->chosen, saved->started);
    } else {
        next = run.start(kTest, settings(), std::random_device()());
    }
    const auto attempt = [&] {
        return Attempt{kStudent,      kTest,         *run.plan(),   run.chosen(),
                       run.correct(), run.started(), run.fileMark()};
    };
    AttemptFile::save(attempt());
    std::puts("taking");
    std::fflush(stdout);
    QFile confirmed(QStringLiteral("confirmed.txt"));
    if (!confirmed.open(QIODevice::Append)) {
        throw std::runtime_error("cannot open confirmed.txt");
    }
    while (next) {
        next = run.answer(screenChoice(run.chosen().size()));
        AttemptFile::save(attempt());
        confirmed.write(QByteArray::number(run.chosen().back()) + '\n');
        confirmed.flush();
    }
    // Stay until killed, so that the driver's kill never meets an ended process.
    QThread::sleep(60);
}

int runAttemptKills(int runs) {
    const QTemporaryDir folder;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
    test::writeTestFile(kTest, test::numberedQuestions(QList<int>(kHeld, 3)),
                        QString::number(kHeld));
    QDir::setCurrent(previous);
    std::mt19937 random(20261209); // fixed: a failing run can be replayed
    std::uniform_int_distribution<unsigned long> delayUs(0, 20000);
    std::optional<AttemptPlan> plan;
    int finished = 0;
    for (int run = 0; run < runs; ++run) {
        QProcess taker;
        taker.setWorkingDirectory(folder.path());
        taker.start(QCoreApplication::applicationFilePath(), {QStringLiteral("attempt-taker")});
        if (!taker.waitForReadyRead(10000)) {
            std::fprintf(stderr, "run %d: the taker did not start: %s\n", run,
                         taker.readAllStandardError().constData());
            return 1;
        }
        QThread::usleep(delayUs(random));
        taker.kill();
        taker.waitForFinished(10000);
        bool complete = false;
        const QString problem = check(folder.path(), plan, complete);
        if (!problem.isEmpty()) {
            std::fprintf(stderr, "run %d: %s\n", run, qPrintable(problem));
            return 1;
        }
        if (complete) {
            // Ended: the next run begins a new attempt.
            ++finished;
            plan.reset();
            QFile::remove(folder.path() + QStringLiteral("/confirmed.txt"));
            QDir::setCurrent(folder.path());
            AttemptFile::remove(kStudent);
            QDir::setCurrent(previous);
        }
    }
    std::printf("killed attempt: %d kills, %d attempts answered whole; every answer confirmed "
                "before a kill was kept, none twice\n",
                runs, finished);
    return finished > 0 ? 0 : 1;
}

} // namespace velmora::soak
