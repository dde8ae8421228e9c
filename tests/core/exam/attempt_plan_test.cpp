// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exam/attempt_plan.h"
#include "core/exam/test_run.h"
#include "support/temp_folder.h"
#include "support/test_file_builder.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace velmora;
using namespace Qt::StringLiterals;
using velmora::test::numberedQuestions;
using velmora::test::TempFolder;
using velmora::test::writeTestFile;

namespace {

using Empty = std::array<bool, kAnswersPerQuestion>;

Empty noneEmpty(int) {
    return {};
}

TestSettings drawing(int draw, bool shuffle) {
    TestSettings settings;
    settings.draw = draw;
    settings.shuffleAnswers = shuffle;
    return settings;
}

bool isPermutation(const AnswerOrder& order) {
    QSet<int> seen(order.begin(), order.end());
    return seen.size() == kAnswersPerQuestion &&
           *std::min_element(order.begin(), order.end()) == 1 &&
           *std::max_element(order.begin(), order.end()) == kAnswersPerQuestion;
}

TEST(AttemptPlan, TheSameSeedGivesTheSameDrawAndOrders) {
    const TestSettings settings = drawing(5, true);
    const AttemptPlan first = AttemptPlan::make(42, 20, settings, noneEmpty);
    EXPECT_EQ(first, AttemptPlan::make(42, 20, settings, noneEmpty));
    // Fixed numbers, so that another machine or library gives this same attempt.
    EXPECT_EQ(first.sections, AttemptPlan::make(42, 20, drawing(5, false), noneEmpty).sections);
    int differing = 0;
    for (quint64 seed = 1; seed <= 10; ++seed) {
        differing += int(AttemptPlan::make(seed, 20, settings, noneEmpty) != first);
    }
    EXPECT_EQ(differing, 10);
}

TEST(AttemptPlan, DrawsEachQuestionAtMostOnceAndShufflesWhole) {
    struct Row {
        int held;
        int draw;
        int asked;
    };
    for (const Row& row : {Row{20, 5, 5}, Row{5, 5, 5}, Row{3, 0, 3}, Row{4, 9, 4}, Row{1, 1, 1}}) {
        for (quint64 seed = 0; seed < 50; ++seed) {
            const AttemptPlan plan =
                AttemptPlan::make(seed, row.held, drawing(row.draw, true), noneEmpty);
            ASSERT_EQ(plan.sections.size(), row.asked) << row.held << " " << row.draw;
            ASSERT_EQ(plan.orders.size(), row.asked);
            const QSet<int> distinct(plan.sections.begin(), plan.sections.end());
            EXPECT_EQ(distinct.size(), row.asked);
            for (const int section : plan.sections) {
                EXPECT_TRUE(section >= 1 && section <= row.held) << section;
            }
            for (const AnswerOrder& order : plan.orders) {
                EXPECT_TRUE(isPermutation(order));
            }
        }
    }
    // Shuffled answers do move: over a few seeds, some order is not the file's.
    int moved = 0;
    for (quint64 seed = 0; seed < 10; ++seed) {
        const AttemptPlan plan = AttemptPlan::make(seed, 5, drawing(0, true), noneEmpty);
        moved +=
            int(std::count_if(plan.orders.begin(), plan.orders.end(),
                              [](const AnswerOrder& o) { return o != AttemptPlan::fileOrder(); }));
    }
    EXPECT_GT(moved, 40);
    // Without a draw the file's order; without shuffling every answer where the file has it.
    const AttemptPlan plain = AttemptPlan::make(7, 3, drawing(0, false), noneEmpty);
    EXPECT_EQ(plain.sections, (QList<int>{1, 2, 3}));
    for (const AnswerOrder& order : plain.orders) {
        EXPECT_EQ(order, AttemptPlan::fileOrder());
    }
}

TEST(AttemptPlan, EmptyAnswersStayWhereTheyAre) {
    const auto twoEmpty = [](int) { return Empty{false, false, true, false, true}; };
    for (quint64 seed = 0; seed < 50; ++seed) {
        const AnswerOrder order = AttemptPlan::make(seed, 1, drawing(0, true), twoEmpty).orders[0];
        EXPECT_TRUE(isPermutation(order));
        EXPECT_EQ(order[2], 3);
        EXPECT_EQ(order[4], 5);
    }
}

TEST(AttemptPlan, ShownAnswersTakeTheScreensLettersAndTheKeyFollows) {
    Question inFile{
        u"Вопрос"_s, {u"A) один"_s, u"B) два"_s, u"C) три"_s, u"D) четыре"_s, u""_s}, u"2"_s};
    const Question shown = AttemptPlan::shown(inFile, {2, 4, 1, 3, 5});
    EXPECT_EQ(shown.answers, (std::array<QString, 5>{u"A) два"_s, u"B) четыре"_s, u"C) один"_s,
                                                     u"D) три"_s, u""_s}));
    EXPECT_EQ(shown.correct, u"1"_s);
    EXPECT_EQ(AttemptPlan::filePosition({2, 4, 1, 3, 5}, 2), 4);
    EXPECT_EQ(AttemptPlan::filePosition({2, 4, 1, 3, 5}, 6), 0);
    // An "ap" that names no answer names none when shown either.
    inFile.correct = u"9"_s;
    EXPECT_EQ(AttemptPlan::shown(inFile, {2, 4, 1, 3, 5}).correct, u"9"_s);
}

// A run under a plan: the grade counts the questions asked, and each answer is recorded with the
// file's section and position whatever the screen showed.
TEST(PlannedTestRun, GradesTheAskedQuestionsAndRecordsFilePositions) {
    const TempFolder folder;
    writeTestFile(u"test1"_s, numberedQuestions({1, 2, 3, 4, 5, 1, 2, 3, 4, 5}), u"10"_s);
    TestRun run;
    std::optional<Question> q = run.start(u"test1"_s, drawing(4, true), 99);
    const AttemptPlan plan = *run.plan();
    ASSERT_EQ(plan.sections.size(), 4);
    EXPECT_EQ(run.total(), 4);
    int asked = 0;
    while (q) {
        // Right on the first two, wrong on the others: the screen's position of the key, or not.
        const int right = q->correct.toInt();
        const int position = asked < 2 ? right : right % 5 + 1;
        EXPECT_EQ(q->text, u"Вопрос %1"_s.arg(plan.sections[asked]));
        q = run.answer(position);
        ++asked;
        const AnsweredQuestion& answered = *run.lastAnswered();
        EXPECT_EQ(answered.number, plan.sections[asked - 1]);
        EXPECT_EQ(answered.position, plan.orders[asked - 1][size_t(position - 1)]);
        EXPECT_EQ(answered.asked, asked);
        EXPECT_EQ(answered.seed, 99U);
    }
    EXPECT_EQ(asked, 4);
    EXPECT_EQ(run.correct(), 2);
    EXPECT_EQ(run.outcome().grade, 3); // 2 of 4, not of 10

    // Resumed after two answers: the same next question, the answers given so far counted.
    TestRun again;
    const std::optional<Question> third =
        again.resume(u"test1"_s, plan, run.chosen().first(2), run.started());
    ASSERT_TRUE(third);
    EXPECT_EQ(third->text, u"Вопрос %1"_s.arg(plan.sections[2]));
    EXPECT_EQ(again.correct(), 2);
    EXPECT_EQ(again.qnumber(), 3);
    // Ended there: the questions not answered count as wrong.
    again.endNow();
    EXPECT_EQ(again.outcome().grade, 3);
}

TEST(PlannedTestRun, PlainSettingsRunAsEver) {
    const TempFolder folder;
    writeTestFile(u"test1"_s, numberedQuestions({1, 2}), u"2"_s);
    TestRun run;
    ASSERT_TRUE(run.start(u"test1"_s, TestSettings{}, 5));
    EXPECT_FALSE(run.plan());
    run.answer(1);
    EXPECT_EQ(run.lastAnswered()->asked, 0);
}

} // namespace
