// SPDX-License-Identifier: GPL-3.0-or-later
// The teacher's group journal on a large course folder: 10,000 students, a test log of 100,000
// lines and an answer log of 1,000,000 lines. Measured: reading the journal, opening its window
// as "Топ журналы" does (the grades table on screen), and the question statistics of one test.
#include "core/access/group_journal.h"
#include "core/exam/answer_log.h"
#include "core/exam/question_statistics.h"
#include "core/storage/code_page.h"
#include "core/storage/scrambled_store.h"
#include "gui/windows/group_journal_window.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTabWidget>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace velmora;

namespace {

constexpr int kStudents = 10000;
constexpr int kTests = 5;
constexpr int kQuestions = 10;
constexpr int kAttempts = 100000; // test log lines; each has kQuestions answer lines

QByteArray scrambled(const QByteArray& plain) {
    QByteArray out;
    crypt(plain, kScrambleKey, out);
    return out;
}

QString studentName(int n) {
    return QStringLiteral("Оқушы Әлия %1").arg(n);
}

QString questionText(int q) {
    return QStringLiteral("Вопрос %1: что из этого лучше всего описывает систему?").arg(q);
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        throw std::runtime_error("cannot write a bench file");
    }
}

// The course folder, made once and kept the current directory while the benchmarks run.
class LargeCourse {
public:
    LargeCourse() {
        QDir::setCurrent(dir_.path());
        QDir().mkpath(QStringLiteral("data/tests"));
        QDir().mkpath(QStringLiteral("data/info"));
        writeFile(QStringLiteral("data/info/tumb.db"), "admin|admin|report.txt\r\n");
        writeTests();
        writeRegister();
        writeLogs();
    }

private:
    static void writeTests() {
        for (int t = 1; t <= kTests; ++t) {
            QByteArray ini = "[inf]\r\nvsego=" + scrambled(QByteArray::number(kQuestions)) + "\r\n";
            for (int q = 1; q <= kQuestions; ++q) {
                ini += '[' + QByteArray::number(q) +
                       "]\r\nq=" + scrambled(CodePage::encode(questionText(q))) + "\r\n";
                for (int a = 1; a <= 5; ++a) {
                    ini += 'a' + QByteArray::number(a) + '=' + scrambled("answer") + "\r\n";
                }
                ini += "ap=" + scrambled(QByteArray::number(q % 5 + 1)) + "\r\n";
            }
            writeFile(QStringLiteral("data/tests/test%1.ini").arg(t), ini);
        }
    }

    static void writeRegister() {
        QByteArray users;
        QByteArray list;
        for (int n = 0; n < kStudents; ++n) {
            const QByteArray name = CodePage::encode(studentName(n));
            list += name + "\r\n";
            users += '[' + name + "]\r\npassword=" + scrambled("secret") + "\r\n";
            for (int t = 1; t <= 12; ++t) {
                users += "test" + QByteArray::number(t) + '=' +
                         scrambled(QByteArray::number(t <= kTests ? n % 5 + 1 : 0)) + "\r\n";
            }
        }
        writeFile(QStringLiteral("users.ini"), users);
        writeFile(QStringLiteral("users"), list);
    }

    static void writeLogs() {
        QRandomGenerator random(16);
        QByteArray log;
        QByteArray answers;
        QList<QByteArray> fingerprints;
        for (int q = 1; q <= kQuestions; ++q) {
            fingerprints.append(AnswerLog::fingerprint(questionText(q)).toLatin1());
        }
        for (int i = 0; i < kAttempts; ++i) {
            const QByteArray name = CodePage::encode(studentName(random.bounded(kStudents)));
            const QByteArray test = "test" + QByteArray::number(random.bounded(kTests) + 1);
            const QByteArray when = " | 10:00:00 | 01.02.2025 | ";
            log += name + when + test + " | " + QByteArray::number(random.bounded(5) + 1) + "\r\n";
            for (int q = 1; q <= kQuestions; ++q) {
                const char chosen = static_cast<char>('A' + random.bounded(5));
                const char correct = static_cast<char>('A' + q % 5);
                answers += name + when + test + " | " + QByteArray::number(q) + " | " + chosen +
                           " | " + correct + " | " + fingerprints[q - 1] + "\r\n";
            }
        }
        writeFile(QStringLiteral("report.txt"), log);
        writeFile(QStringLiteral("report.answers.txt"), answers);
    }

    QTemporaryDir dir_;
};

void ensureCourse() {
    static const LargeCourse course;
}

// The application the window benchmarks need, made once. It is never destroyed: at exit a static
// one would outlive Qt's own globals and crash in their destructors.
QApplication& application() {
    static int argc = 1;
    static char name[] = "velmora_bench";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Another benchmark of the run may have made it first.
    static QApplication* const app = QApplication::instance() != nullptr
                                         ? qobject_cast<QApplication*>(QApplication::instance())
                                         : new QApplication(argc, argv);
    return *app;
}

void BM_JournalRead(benchmark::State& state) {
    ensureCourse();
    for (auto _ : state) {
        const GroupJournal journal = GroupJournal::read(QStringLiteral("report.txt"));
        benchmark::DoNotOptimize(journal.students().size());
    }
}
BENCHMARK(BM_JournalRead)->Unit(benchmark::kMillisecond)->UseRealTime();

// From the command to the grades table painted: the window is made, read and shown.
void BM_JournalWindowOpen(benchmark::State& state) {
    ensureCourse();
    QApplication& app = application();
    for (auto _ : state) {
        GroupJournalWindow window;
        window.reload(QStringLiteral("report.txt"));
        window.show();
        app.processEvents();
        window.repaint();
        benchmark::DoNotOptimize(window.isVisible());
    }
}
BENCHMARK(BM_JournalWindowOpen)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_QuestionStatistics(benchmark::State& state) {
    ensureCourse();
    for (auto _ : state) {
        const QuestionStatistics statistics =
            QuestionStatistics::read(QStringLiteral("report.txt"), QStringLiteral("test3"));
        benchmark::DoNotOptimize(statistics.questions().size());
    }
}
BENCHMARK(BM_QuestionStatistics)->Unit(benchmark::kMillisecond)->UseRealTime();

// The questions tab chosen in an open window, until its table is painted.
void BM_QuestionsTabShown(benchmark::State& state) {
    ensureCourse();
    QApplication& app = application();
    GroupJournalWindow window;
    window.reload(QStringLiteral("report.txt"));
    window.show();
    app.processEvents();
    auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("tabs"));
    for (auto _ : state) {
        state.PauseTiming();
        tabs->setCurrentIndex(0);
        window.reload(QStringLiteral("report.txt"));
        app.processEvents();
        state.ResumeTiming();
        tabs->setCurrentIndex(1);
        window.repaint();
    }
}
BENCHMARK(BM_QuestionsTabShown)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
