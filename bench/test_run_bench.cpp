// SPDX-License-Identifier: GPL-3.0-or-later
// Answering one question of a large test: the reads of the answer handler (the correct position
// and the number of questions) and of loading the next question (question and five answers).

#include "core/exam/attempt_file.h"
#include "core/exam/test_run.h"
#include "core/storage/code_page.h"
#include "core/storage/scrambled_store.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace velmora;

namespace {

constexpr int kQuestions = 1000;
constexpr int kAnswerBytes = 2000;

QByteArray scrambledLine(const char* key, const QString& value) {
    QByteArray line(key);
    line += '=';
    crypt(CodePage::encode(value), kScrambleKey, line);
    return line + "\r\n";
}

// A text of exactly `bytes` characters in the code page, Russian words and digits.
QString filler(int question, int answer, int bytes) {
    QString text = QStringLiteral("%1) Ответ %2 на вопрос %3: ")
                       .arg(QChar(u'A' + answer - 1))
                       .arg(answer)
                       .arg(question);
    const QString words = QStringLiteral("система тестирования показывает ответ студента ");
    while (text.size() < bytes) {
        text += words;
    }
    return text.left(bytes);
}

// Writes data/tests/test1.ini into the current directory as the scrambling tool lays it out.
void writeLargeTest() {
    QByteArray ini;
    for (int n = 1; n <= kQuestions; ++n) {
        ini += '[' + QByteArray::number(n) + "]\r\n";
        ini += scrambledLine("q", QStringLiteral("Вопрос номер %1 о системах?").arg(n));
        for (int a = 1; a <= kAnswersPerQuestion; ++a) {
            ini += scrambledLine(("a" + QByteArray::number(a)).constData(),
                                 filler(n, a, kAnswerBytes));
        }
        ini += scrambledLine("ap", QString::number(n % 5 + 1));
    }
    ini += "[inf]\r\n" + scrambledLine("vsego", QString::number(kQuestions));
    QDir().mkpath(QStringLiteral("data/tests"));
    QFile file(QStringLiteral("data/tests/test1.ini"));
    if (!file.open(QIODevice::WriteOnly) || file.write(ini) != ini.size()) {
        qFatal("cannot write the benchmark's test file");
    }
}

class InLargeTest {
public:
    InLargeTest() : previous_(QDir::currentPath()) {
        QDir::setCurrent(dir_.path());
        writeLargeTest();
    }
    ~InLargeTest() { QDir::setCurrent(previous_); }
    InLargeTest(const InLargeTest&) = delete;
    InLargeTest& operator=(const InLargeTest&) = delete;

private:
    QTemporaryDir dir_;
    QString previous_;
};

// Every question of the test in turn, so the figure is the mean over all positions in the file.
void BM_AnswerOneQuestion(benchmark::State& state) {
    const InLargeTest folder;
    TestRun run;
    run.start(QStringLiteral("test1"));
    for (auto _ : state) {
        const auto next = run.answer(1);
        benchmark::DoNotOptimize(next);
        if (!next) {
            state.PauseTiming();
            run.start(QStringLiteral("test1"));
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_AnswerOneQuestion)->Unit(benchmark::kMillisecond);

// Saving the attempt after an answer of a test with settings: a draw of 50 of the 1,000 questions
// with shuffled answers, half answered; the file rewritten atomically under its lock, flushed to
// disk, as after every answer.
void BM_SaveAttempt(benchmark::State& state) {
    const InLargeTest folder;
    TestSettings settings;
    settings.draw = 50;
    settings.shuffleAnswers = true;
    TestRun run;
    run.start(QStringLiteral("test1"), settings, 12345);
    for (int i = 0; i < 25; ++i) {
        run.answer(i % 5 + 1);
    }
    const Attempt attempt{QStringLiteral("Студент"),
                          run.testname(),
                          *run.plan(),
                          run.chosen(),
                          run.correct(),
                          run.started(),
                          run.fileMark()};
    for (auto _ : state) {
        AttemptFile::save(attempt);
    }
}
BENCHMARK(BM_SaveAttempt)->Unit(benchmark::kMillisecond);

} // namespace
