// SPDX-License-Identifier: GPL-3.0-or-later
// Item analysis and regrading on a large group: an answer log of 10,000 attempts at a test of 50
// questions (500,000 lines), and 10,000 students whose last attempts are graded again after a
// mended key. Measured: every figure of the test from the files, and a regrade read and written.
#include "core/access/regrade.h"
#include "core/exam/answer_log.h"
#include "core/exam/test_analysis.h"
#include "core/storage/code_page.h"
#include "core/storage/scrambled_store.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cmath>

using namespace velmora;

namespace {

constexpr int kStudents = 10000;
constexpr int kQuestions = 50;

QByteArray scrambledText(const QByteArray& plain) {
    QByteArray out;
    crypt(plain, kScrambleKey, out);
    return out;
}

QString questionText(int q) {
    return QStringLiteral("Вопрос %1 о сетях: какой из ответов верен?").arg(q);
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        throw std::runtime_error("cannot write a bench file");
    }
}

// The test file with the correct answer of question q at position q % 5 + 1, or, for the mended
// key, question 1's at position 1 (its logged answers were scored against position 2).
QByteArray testFile(bool mended) {
    QByteArray ini = "[inf]\r\nvsego=" + scrambledText(QByteArray::number(kQuestions)) + "\r\n";
    for (int q = 1; q <= kQuestions; ++q) {
        ini += '[' + QByteArray::number(q) +
               "]\r\nq=" + scrambledText(CodePage::encode(questionText(q))) + "\r\n";
        for (int a = 1; a <= 5; ++a) {
            ini += 'a' + QByteArray::number(a) + '=' + scrambledText("answer") + "\r\n";
        }
        const int correct = mended && q == 1 ? 1 : q % 5 + 1;
        ini += "ap=" + scrambledText(QByteArray::number(correct)) + "\r\n";
    }
    return ini;
}

class LargeGroup {
public:
    LargeGroup() {
        QDir::setCurrent(dir_.path());
        QDir().mkpath(QStringLiteral("data/tests"));
        QDir().mkpath(QStringLiteral("data/info"));
        writeBytes(QStringLiteral("data/info/tumb.db"), "admin|admin|report.txt\r\n");
        writeBytes(QStringLiteral("data/tests/test1.ini"), testFile(true));
        QRandomGenerator random(28);
        QByteArray users;
        QByteArray log;
        QByteArray answers;
        for (int n = 0; n < kStudents; ++n) {
            const QByteArray name = CodePage::encode(QStringLiteral("Оқушы %1").arg(n));
            const double ability = -2.5 + 5.0 * n / kStudents;
            const QByteArray when = " | 10:00:00 | 01.02.2025 | test1 | ";
            int right = 0;
            for (int q = 1; q <= kQuestions; ++q) {
                const double difficulty = -2 + 4.0 * q / kQuestions;
                const bool knows =
                    random.generateDouble() < 1 / (1 + std::exp(difficulty - ability));
                const int correct = q == 1 ? 2 : q % 5 + 1; // question 1 under the wrong key
                const int chosen = knows ? correct : static_cast<int>(random.bounded(5)) + 1;
                right += chosen == correct ? 1 : 0;
                answers += name + when + QByteArray::number(q) + " | " +
                           AnswerLog::letter(chosen).toLatin1() + " | " +
                           AnswerLog::letter(correct).toLatin1() + " | " +
                           AnswerLog::fingerprint(questionText(q)).toLatin1() + "\r\n";
            }
            const int grade = std::min(5, 5 * right / kQuestions + 1);
            log +=
                name + " | 10:00:00 | 01.02.2025 | test1 | " + QByteArray::number(grade) + "\r\n";
            users += '[' + name + "]\r\npassword=" + scrambledText("secret") +
                     "\r\ntest1=" + scrambledText(QByteArray::number(grade)) + "\r\n";
        }
        writeBytes(QStringLiteral("report.txt"), log);
        writeBytes(QStringLiteral("report.answers.txt"), answers);
        register_ = users;
        writeBytes(QStringLiteral("users.ini"), users);
    }

    QString path() const { return dir_.path(); }
    const QByteArray& usersIni() const { return register_; }

private:
    QTemporaryDir dir_;
    QByteArray register_;
};

const LargeGroup& group() {
    static const LargeGroup made;
    QDir::setCurrent(made.path());
    return made;
}

void BM_ItemAnalysisOfTenThousandAttempts(benchmark::State& state) {
    group();
    for (auto _ : state) {
        const TestAnalysis analysis = TestAnalysis::read(
            QStringLiteral("report.txt"), QStringLiteral("test1"), AttemptChoice::All);
        benchmark::DoNotOptimize(analysis.test().consistency);
    }
}
BENCHMARK(BM_ItemAnalysisOfTenThousandAttempts)->Unit(benchmark::kMillisecond)->UseRealTime();

// Planned and applied: the register is put back between runs, so every run writes the changes.
void BM_RegradeTenThousandStudents(benchmark::State& state) {
    const LargeGroup& made = group();
    std::int64_t changes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        writeBytes(QStringLiteral("users.ini"), made.usersIni());
        state.ResumeTiming();
        const Regrade regrade =
            Regrade::plan(QStringLiteral("report.txt"), QStringLiteral("test1"));
        regrade.apply(QStringLiteral("report.txt"), QDateTime::currentDateTime());
        changes = regrade.changes().size();
    }
    state.counters["changes"] = static_cast<double>(changes);
}
BENCHMARK(BM_RegradeTenThousandStudents)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
