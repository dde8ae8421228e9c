// SPDX-License-Identifier: GPL-3.0-or-later
// One computer of the simulated lab: in the course folder (the current directory) it finishes
// attempts one after another, each as the program does (a test log line, then its statement in the
// outbox), and now and then sends the outbox as the program's sender does.
//   velmora_lab_student NAME ATTEMPTS
// Attempt k of NAME is told by its duration: k seconds.

#include "core/course/course_book.h"
#include "core/exam/test_log.h"
#include "core/results/results_recorder.h"
#include "core/results/results_settings.h"
#include "core/storage/data_path.h"
#include "results/lrs_client.h"
#include "results/results_sender.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QRandomGenerator>
#include <QThread>
#include <cstdio>

int main(int argc, char* argv[]) {
    const QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: velmora_lab_student NAME ATTEMPTS\n");
        return 2;
    }
    const QString& name = args[1];
    const int attempts = args[2].toInt();
    QRandomGenerator random(QRandomGenerator::global()->generate());
    using namespace velmora;
    try {
        const ResultsSettings settings =
            *ResultsSettings::read(programFolder(), CourseBook::current());
        for (int k = 1; k <= attempts; ++k) {
            const int grade = int(random.bounded(1, 6));
            TestLog::append(
                QStringLiteral("report.txt"),
                TestLog::line(name, QDateTime::currentDateTime(), QStringLiteral("test1"), grade) +
                    QStringLiteral(" | %1").arg(k));
            ResultsRecorder::completed({name, QStringLiteral("test1"), grade, 3, k * 1000LL, 0, 0});
            if (random.bounded(4) == 0) {
                LrsClient client(settings, 1'000);
                (void)ResultsSender(programFolder(), client).send();
            }
            QThread::msleep(random.bounded(20, 120));
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "velmora_lab_student: %s\n", e.what());
        return 1;
    }
    return 0;
}
