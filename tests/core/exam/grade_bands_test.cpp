// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/course/course_book.h"
#include "core/exam/grade_bands.h"

#include <gtest/gtest.h>

using velmora::GradeBands;

namespace {

// The band of a share found another way: floor(5 * correct / total) counts the fifths reached.
int bandByFifths(int correct, int total) {
    return std::min(5, 5 * correct / total + 1);
}

TEST(GradeBands, EveryShareOfEveryTotalUpTo200MatchesTheExactFraction) {
    for (int total = 1; total <= 200; ++total) {
        for (int correct = 0; correct <= total; ++correct) {
            ASSERT_EQ(GradeBands::grade(correct, total), bandByFifths(correct, total))
                << correct << " of " << total;
        }
    }
}

TEST(GradeBands, LimitsBelongToTheHigherBand) {
    // 20, 40, 60 and 80 percent exactly, for totals where floating point goes astray.
    for (int total = 5; total <= 1000; total += 5) {
        const int fifth = total / 5;
        EXPECT_EQ(GradeBands::grade(fifth, total), 2) << total;
        EXPECT_EQ(GradeBands::grade(2 * fifth, total), 3) << total;
        EXPECT_EQ(GradeBands::grade(3 * fifth, total), 4) << total;
        EXPECT_EQ(GradeBands::grade(4 * fifth, total), 5) << total;
        EXPECT_EQ(GradeBands::grade(2 * fifth - 1, total), 2) << total;
        EXPECT_EQ(GradeBands::grade(3 * fifth - 1, total), 3) << total;
    }
}

TEST(GradeBands, TestsOfFiveAndTenQuestions) {
    const int ofFive[] = {1, 2, 3, 4, 5, 5};
    for (int c = 0; c <= 5; ++c) {
        EXPECT_EQ(GradeBands::grade(c, 5), ofFive[c]) << c;
    }
    const int ofTen[] = {1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 5};
    for (int c = 0; c <= 10; ++c) {
        EXPECT_EQ(GradeBands::grade(c, 10), ofTen[c]) << c;
    }
}

TEST(GradeBands, OutOfRangeCountsAreClampedAndAnEmptyTestRefused) {
    EXPECT_EQ(GradeBands::grade(7, 5), 5);
    EXPECT_EQ(GradeBands::grade(-1, 5), 1);
    EXPECT_EQ(GradeBands::grade(2'000'000'000, 2'100'000'000), 5);
    EXPECT_THROW(GradeBands::grade(0, 0), std::invalid_argument);
}

// A test is passed at the course's pass grade or above: 3 in the shipped course, as the course
// file sets it elsewhere.
TEST(GradeBands, PassedFollowsTheCoursesPassGrade) {
    struct Row {
        int passGrade;
        int grade;
        bool passed;
    };
    const Row rows[] = {{3, 2, false}, {3, 3, true},  {3, 5, true}, {4, 3, false},
                        {4, 4, true},  {5, 4, false}, {1, 1, true}, {4, 0, false}};
    for (const Row& row : rows) {
        velmora::CourseBook course;
        course.passGrade = row.passGrade;
        EXPECT_EQ(velmora::GradeBands::passed(row.grade, course), row.passed)
            << row.passGrade << " " << row.grade;
    }
}

} // namespace
