// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exam/test_run.h"
#include "core/storage/failure.h"
#include "core/storage/scrambled_store.h"
#include "support/temp_folder.h"
#include "support/test_file_builder.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::numberedQuestions;
using velmora::test::TempFolder;
using velmora::test::writeTestFile;

namespace {

const QString kTest1 = QStringLiteral("test1");

// Answers every question of the running test with the position `choose` gives for it.
std::optional<Question> answerAll(TestRun& run, const std::function<int(int)>& choose) {
    std::optional<Question> next;
    do {
        next = run.answer(choose(run.qnumber()));
    } while (next);
    return next;
}

TEST(TestRun, StartShowsTheFirstQuestionWithItsAnswers) {
    const TempFolder folder;
    writeTestFile(kTest1, numberedQuestions({2, 3}), QStringLiteral("2"));
    TestRun run;
    const auto first = run.start(kTest1);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->text, QStringLiteral("Вопрос 1"));
    EXPECT_EQ(first->answers[0], QStringLiteral("A) 1.1"));
    EXPECT_EQ(first->answers[4], QStringLiteral("E) 1.5"));
    EXPECT_EQ(first->correct, QStringLiteral("2"));
    EXPECT_EQ(run.qnumber(), 1);
    EXPECT_EQ(run.correct(), 0);
    EXPECT_EQ(run.total(), 2);
    EXPECT_EQ(run.testname(), kTest1);
}

TEST(TestRun, ScoringFlowsGiveTheirGrades) {
    const TempFolder folder;
    const QList<int> key{1, 2, 3, 4, 5};
    writeTestFile(kTest1, numberedQuestions(key), QStringLiteral("5"));
    struct Case {
        const char* name;
        std::function<int(int)> choose;
        int correct;
        int grade;
    };
    const Case cases[] = {
        {"all right", [&](int q) { return key[q - 1]; }, 5, 5},
        {"all wrong", [&](int q) { return key[q - 1] % 5 + 1; }, 0, 1},
        {"first two right", [&](int q) { return q <= 2 ? key[q - 1] : key[q - 1] % 5 + 1; }, 2, 3},
        {"always A", [](int) { return 1; }, 1, 2},
    };
    for (const Case& c : cases) {
        TestRun run;
        ASSERT_TRUE(run.start(kTest1));
        answerAll(run, c.choose);
        EXPECT_EQ(run.correct(), c.correct) << c.name;
        EXPECT_EQ(run.qnumber(), 6) << c.name;
        EXPECT_EQ(run.outcome().grade, c.grade) << c.name;
        EXPECT_EQ(run.outcome().slot, 1) << c.name;
    }
}

TEST(TestRun, EachAnswerLoadsTheNextQuestionUntilTheLast) {
    const TempFolder folder;
    writeTestFile(kTest1, numberedQuestions({1, 1, 1}), QStringLiteral("3"));
    TestRun run;
    run.start(kTest1);
    const auto second = run.answer(1);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->text, QStringLiteral("Вопрос 2"));
    EXPECT_EQ(second->answers[2], QStringLiteral("C) 2.3"));
    ASSERT_TRUE(run.answer(1));
    EXPECT_FALSE(run.answer(1));
    EXPECT_EQ(run.correct(), 3);
}

TEST(TestRun, OnlyTheFirstVsegoQuestionsAreAsked) {
    const TempFolder folder;
    // As the scrambling tool writes it: one section more than "vsego".
    writeTestFile(kTest1, numberedQuestions({1, 1, 1}), QStringLiteral("2"));
    TestRun run;
    run.start(kTest1);
    run.answer(1);
    EXPECT_FALSE(run.answer(1));
    EXPECT_EQ(run.outcome().grade, 5);
}

TEST(TestRun, TwoTestsInOneRunAreScoredIndependently) {
    const TempFolder folder;
    writeTestFile(kTest1, numberedQuestions({1, 1}), QStringLiteral("2"));
    writeTestFile(QStringLiteral("test10"), numberedQuestions({2, 2, 2, 2, 2}),
                  QStringLiteral("5"));
    TestRun run;
    run.start(kTest1);
    answerAll(run, [](int) { return 1; });
    EXPECT_EQ(run.outcome().grade, 5);

    const auto first = run.start(QStringLiteral("test10"));
    ASSERT_TRUE(first);
    EXPECT_EQ(first->answers[0], QStringLiteral("A) 1.1"));
    EXPECT_EQ(run.correct(), 0);
    answerAll(run, [](int q) { return q == 1 ? 2 : 1; });
    EXPECT_EQ(run.correct(), 1);
    EXPECT_EQ(run.outcome().grade, 2);
    EXPECT_EQ(run.outcome().slot, 10);
}

TEST(TestRun, AMissingTestFileDoesNotStart) {
    const TempFolder folder;
    writeTestFile(kTest1, numberedQuestions({1, 1}), QStringLiteral("2"));
    TestRun run;
    run.start(kTest1);
    run.answer(1);
    try {
        run.start(QStringLiteral("test2"));
        ADD_FAILURE() << "started without a file";
    } catch (const Failure& f) {
        EXPECT_TRUE(
            f.message().startsWith(QStringLiteral("Cannot open file \"%1")
                                       .arg(folder.file(QStringLiteral("data/tests/test2.ini")))))
            << f.message().toStdString();
    }
    // The running state is untouched.
    EXPECT_EQ(run.testname(), kTest1);
    EXPECT_EQ(run.qnumber(), 2);
    EXPECT_EQ(run.correct(), 1);
}

TEST(TestRun, TheTestFileIsFoundWhateverItsLetterCase) {
    const TempFolder folder;
    writeTestFile(QStringLiteral("TEST3"), numberedQuestions({4}), QStringLiteral("1"));
    TestRun run;
    const auto first = run.start(QStringLiteral("test3"));
    ASSERT_TRUE(first);
    EXPECT_EQ(first->text, QStringLiteral("Вопрос 1"));
    EXPECT_FALSE(run.answer(4));
    EXPECT_EQ(run.outcome().grade, 5);
}

TEST(TestRun, AVsegoBelowOneOrNotANumberDoesNotStart) {
    const TempFolder folder;
    struct Case {
        QString vsego;
        std::optional<QString> failure; // nothing: no questions
    };
    const Case cases[] = {
        {QStringLiteral("0"), std::nullopt},
        {QStringLiteral("-1"), std::nullopt},
        {QStringLiteral("пять"), QStringLiteral("'пять' is not a valid integer value")},
        {QString(), QStringLiteral("'%1' is not a valid integer value").arg(missingValue())},
    };
    for (const Case& c : cases) {
        writeTestFile(kTest1, numberedQuestions({1}), c.vsego);
        TestRun run;
        if (c.failure) {
            try {
                run.start(kTest1);
                ADD_FAILURE() << "started with vsego " << c.vsego.toStdString();
            } catch (const Failure& f) {
                EXPECT_EQ(f.message(), *c.failure);
            }
        } else {
            EXPECT_FALSE(run.start(kTest1)) << c.vsego.toStdString();
        }
        EXPECT_TRUE(run.testname().isEmpty());
        EXPECT_EQ(run.qnumber(), 0);
    }
    EXPECT_EQ(TestRun::noQuestionsMessage(), QStringLiteral("В тесте нет вопросов!"));
}

TEST(TestRun, MissingValuesShowTheMarkerAndAMissingKeyScoresWrong) {
    const TempFolder folder;
    QList<velmora::test::QuestionSpec> questions = numberedQuestions({1, 1});
    questions[0].correct.clear();
    questions[0].answers = {QStringLiteral("A) только одна")};
    writeTestFile(kTest1, questions, QStringLiteral("2"));
    TestRun run;
    const auto first = run.start(kTest1);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->answers[0], QStringLiteral("A) только одна"));
    EXPECT_EQ(first->answers[1], missingValue());
    for (int position = 1; position <= 5; ++position) {
        EXPECT_NE(missingValue(), QString::number(position));
    }
    run.answer(1);
    EXPECT_EQ(run.correct(), 0);
    run.answer(1);
    EXPECT_EQ(run.correct(), 1);
}

TEST(TestRun, AnswersAreComparedAsTextWithTheDigit) {
    const TempFolder folder;
    QList<velmora::test::QuestionSpec> questions = numberedQuestions({1, 1, 1});
    questions[0].correct = QStringLiteral("02");
    questions[1].correct = QStringLiteral("2 ");
    writeTestFile(kTest1, questions, QStringLiteral("3"));
    TestRun run;
    run.start(kTest1);
    run.answer(2);
    run.answer(2);
    run.answer(1);
    // Only the digit itself matches: neither "02" nor "2 ".
    EXPECT_EQ(run.correct(), 1);
}

TEST(TestRun, VsegoIsReadAgainAfterEveryAnswer) {
    const TempFolder folder;
    writeTestFile(kTest1, numberedQuestions({1, 1, 1, 1}), QStringLiteral("4"));
    TestRun run;
    run.start(kTest1);
    run.answer(1);
    writeTestFile(kTest1, numberedQuestions({1, 1, 1, 1}), QStringLiteral("2"));
    EXPECT_FALSE(run.answer(1));
    EXPECT_EQ(run.total(), 2);
    EXPECT_EQ(run.outcome().grade, 5);
}

TEST(TestRun, AVsegoDamagedDuringTheTestStopsTheAnswerAfterCountingIt) {
    const TempFolder folder;
    writeTestFile(kTest1, numberedQuestions({3, 3, 3}), QStringLiteral("3"));
    TestRun run;
    run.start(kTest1);
    writeTestFile(kTest1, numberedQuestions({3, 3, 3}), QStringLiteral("x"));
    EXPECT_THROW(run.answer(3), Failure);
    EXPECT_EQ(run.correct(), 1);
    EXPECT_EQ(run.qnumber(), 2);
    writeTestFile(kTest1, numberedQuestions({3, 3, 3}), QStringLiteral("0"));
    try {
        run.answer(3);
        ADD_FAILURE() << "a test without questions ended";
    } catch (const Failure& f) {
        EXPECT_EQ(f.message(), TestRun::noQuestionsMessage());
    }
}

TEST(TestRun, ReadsWhatTheScrambledStoreWrote) {
    const TempFolder folder;
    QDir().mkpath(QStringLiteral("data/tests"));
    const QString path = TestRun::filePath(QStringLiteral("test4"));
    EXPECT_EQ(path, QStringLiteral("\\data\\tests\\test4.ini"));
    writeini(QStringLiteral("inf"), QStringLiteral("vsego"), QStringLiteral("1"), path);
    writeini(QStringLiteral("1"), QStringLiteral("q"), QStringLiteral("Қазақстанның астанасы?"),
             path);
    writeini(QStringLiteral("1"), QStringLiteral("A2"), QStringLiteral("B) Астана "), path);
    writeini(QStringLiteral("1"), QStringLiteral("ap"), QStringLiteral("2"), path);
    TestRun run;
    const auto first = run.start(QStringLiteral("test4"));
    ASSERT_TRUE(first);
    EXPECT_EQ(first->text, readini(QStringLiteral("1"), QStringLiteral("q"), path));
    EXPECT_EQ(first->answers[1], QStringLiteral("B) Астана "));
    EXPECT_EQ(first->answers[0], readini(QStringLiteral("1"), QStringLiteral("a1"), path));
    EXPECT_FALSE(run.answer(2));
    EXPECT_EQ(run.outcome(), (TestOutcome{5, 4}));
}

TEST(TestRun, SlotsOfTestNames) {
    const std::pair<const char*, int> cases[] = {
        {"test1", 1},   {"test9", 9},   {"test10", 10}, {"test12", 12}, {"test13", 13},
        {"test0", 0},   {"test", 0},    {"tests", 0},   {"exam1", 0},   {"test100", 0},
        {"test11", 11}, {"test01", 0},  {"test20", 20}, {"test1x", 0},  {"Test1", 0},
        {"test99", 99}, {"test999", 0},
    };
    for (const auto& [name, slot] : cases) {
        EXPECT_EQ(TestRun::slotOf(QLatin1String(name)), slot) << name;
    }
}

} // namespace
