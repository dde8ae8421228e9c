// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exam/answer_log.h"
#include "core/exam/test_analysis.h"
#include "core/storage/code_page.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using velmora::AnswerLog;
using velmora::AttemptChoice;
using velmora::LoggedAttempts;
using velmora::QuestionTally;
using velmora::TestAnalysis;

using namespace Qt::StringLiterals;

namespace {

QList<QuestionTally> questions(int count) {
    QList<QuestionTally> list;
    for (int n = 1; n <= count; ++n) {
        QuestionTally q;
        q.number = n;
        q.text = QStringLiteral("Вопрос %1").arg(n);
        q.correct = QStringLiteral("A");
        list.append(q);
    }
    return list;
}

// An answer line without settings, or under settings with a seed and the place in the attempt.
QByteArray line(const QString& name, int question, char chosen, const QString& seed = {},
                int asked = 0) {
    AnswerLog::Answer a{name,
                        QDateTime(QDate(2025, 2, 3), QTime(10, 0)),
                        QStringLiteral("test1"),
                        question,
                        QString(QLatin1Char(chosen)),
                        QStringLiteral("A"),
                        QStringLiteral("Вопрос %1").arg(question)};
    QString text = AnswerLog::line(a);
    if (asked > 0) {
        text += QStringLiteral(" | ") + seed + QStringLiteral(" | ") + QString::number(asked);
    }
    return velmora::CodePage::encode(text) + "\r\n";
}

TEST(LoggedAttempts, LinesGroupIntoAttemptsPerStudent) {
    QByteArray log;
    log += line(u"Асель"_s, 1, 'A');
    log += line(u"Берик"_s, 1, 'B');
    log += line(u"асель"_s, 2, 'B'); // the same student, another letter case
    log += line(u"Берик"_s, 2, 'A');
    log += line(u"Асель"_s, 1, 'A'); // Асель's second attempt
    log += line(u"Асель"_s, 2, 'A');
    log += velmora::CodePage::encode(QStringLiteral(
        "Асель | 10:00:00 | 03.02.2025 | test2 | 1 | A | A | 00000000\r\n")); // another test
    log += "broken line\r\n";
    log += line(u"Дана"_s, 3, 'C', u"00000000000000aa"_s, 1); // drawn: begins with any question
    log += line(u"Дана"_s, 1, 'A', u"00000000000000aa"_s, 2);
    log += line(u"Дана"_s, 2, 'A', u"00000000000000bb"_s, 2); // a new seed: a new attempt
    const LoggedAttempts read = LoggedAttempts::of(log, QStringLiteral("test1"));
    ASSERT_EQ(read.attempts().size(), 5);
    EXPECT_EQ(read.skippedLines(), 1);
    struct Want {
        QString name;
        int answers;
        bool drawn;
    };
    const Want all[] = {{u"Асель"_s, 2, false},
                        {u"Берик"_s, 2, false},
                        {u"Асель"_s, 2, false},
                        {u"Дана"_s, 2, true},
                        {u"Дана"_s, 1, true}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(read.attempts()[i].username, all[i].name) << i;
        EXPECT_EQ(read.attempts()[i].answers.size(), all[i].answers) << i;
        EXPECT_EQ(read.attempts()[i].drawn, all[i].drawn) << i;
    }
    EXPECT_FALSE(read.attempts()[0].answers[1].right());
    EXPECT_TRUE(read.attempts()[2].answers[1].right());
    ASSERT_EQ(read.firstAttempts().size(), 3);
    EXPECT_EQ(read.firstAttempts()[0].answers[1].chosen, "B");
    EXPECT_EQ(read.attempts()[0].began, 20250203100000);
}

TEST(TestAnalysis, FirstOrAllAttemptsAgainstTheCurrentKeyWithChangedQuestionsLeftOut) {
    QByteArray log;
    log += line(u"Асель"_s, 1, 'A') + line(u"Асель"_s, 2, 'B');
    log += line(u"Берик"_s, 1, 'B') + line(u"Берик"_s, 2, 'A');
    log += line(u"Асель"_s, 1, 'A') + line(u"Асель"_s, 2, 'A');
    QList<QuestionTally> now = questions(2);
    now[1].correct = QStringLiteral("B"); // the key of question 2 mended since
    const TestAnalysis first =
        TestAnalysis::of(now, LoggedAttempts::of(log, u"test1"_s), AttemptChoice::First);
    EXPECT_EQ(first.test().attempts, 2);
    EXPECT_EQ(first.questions()[1].tally.correctAnswers, 1); // Асель's B is right now
    EXPECT_EQ(first.questions()[1].tally.chosen[0], 1);
    EXPECT_EQ(first.questions()[1].tally.chosen[1], 1);
    const TestAnalysis all =
        TestAnalysis::of(now, LoggedAttempts::of(log, u"test1"_s), AttemptChoice::All);
    EXPECT_EQ(all.test().attempts, 3);
    EXPECT_EQ(all.questions()[0].tally.answers, 3);
    EXPECT_TRUE(all.notes().isEmpty());

    now[0].text = QStringLiteral("Вопрос 1, переписанный");
    const TestAnalysis changed =
        TestAnalysis::of(now, LoggedAttempts::of(log, u"test1"_s), AttemptChoice::All);
    EXPECT_EQ(changed.questions()[0].figures.attempts, 0);
    EXPECT_TRUE(changed.test().differentQuestions);
    EXPECT_EQ(changed.notes(), QStringList{u"ответов на изменённые вопросы не учтено: 3"_s});
    EXPECT_EQ(changed.remarks(),
              QStringList{u"Попыткам заданы разные вопросы: альфа Кронбаха, доля ошибки и "
                          "стандартная ошибка не считаются."_s});
}

// 500 students of abilities spread evenly, 20 questions from easy to hard: a student answers a
// question right with the logistic chance of ability minus difficulty, so stronger students get
// harder questions right more often.
TEST(TestAnalysis, AGeneratedGroupGivesPositiveDiscriminationAndConsistency) {
    constexpr int kStudents = 500;
    constexpr int kQuestions = 20;
    std::mt19937 random(20250203);
    QByteArray log;
    for (int s = 0; s < kStudents; ++s) {
        const double ability = -3 + 6.0 * s / (kStudents - 1);
        for (int q = 1; q <= kQuestions; ++q) {
            const double difficulty = -2 + 4.0 * (q - 1) / (kQuestions - 1);
            const double chance = 1 / (1 + std::exp(difficulty - ability));
            const double draw = static_cast<double>(random()) / 4294967296.0;
            log += line(QStringLiteral("student%1").arg(s), q,
                        draw < chance ? 'A' : static_cast<char>('B' + random() % 4));
        }
    }
    const TestAnalysis a = TestAnalysis::of(
        questions(kQuestions), LoggedAttempts::of(log, u"test1"_s), AttemptChoice::First);
    EXPECT_EQ(a.test().attempts, kStudents);
    for (const auto& q : a.questions()) {
        ASSERT_TRUE(q.figures.discrimination) << q.tally.number;
        EXPECT_GT(*q.figures.discrimination, 0) << q.tally.number;
        EXPECT_GT(*q.figures.efficiency, 0) << q.tally.number;
    }
    // Harder questions are answered right less often.
    EXPECT_GT(*a.questions().front().figures.facility, *a.questions().back().figures.facility);
    ASSERT_TRUE(a.test().consistency);
    EXPECT_GT(*a.test().consistency, 50);
}

} // namespace
