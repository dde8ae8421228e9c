// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/program/session.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

TEST(Session, StartsSignedOutWithNoGrades) {
    const Session session;
    EXPECT_FALSE(session.signedIn);
    EXPECT_TRUE(session.userName.isEmpty());
    EXPECT_EQ(session.grades, Grades{});
    EXPECT_EQ(session.testGrades().size(), 12U);
    EXPECT_TRUE(session.passedTests().isEmpty());
}

TEST(Session, SigningInKeepsTheGradesReadMeanwhile) {
    Session session;
    session.grades[1] = 4;
    session.signIn(QStringLiteral("Айгүл"));
    EXPECT_TRUE(session.signedIn);
    EXPECT_EQ(session.userName, QStringLiteral("Айгүл"));
    EXPECT_EQ(session.grades[1], 4);
}

TEST(Session, AFinishedTestsGradeGoesToItsSlotOnly) {
    Session session;
    session.recordGrade({5, 2});
    session.recordGrade({4, 12});
    session.recordGrade({3, 0});  // no slot: kept nowhere
    session.recordGrade({3, 13}); // outside the table
    Grades expected{};
    expected[2] = 5;
    expected[12] = 4;
    EXPECT_EQ(session.grades, expected);
    EXPECT_EQ(session.testGrades()[1], 5);
    EXPECT_EQ(session.testGrades()[11], 4);
}

TEST(Session, ASetGradeChangesItsTestOnly) {
    Session session;
    session.grades.fill(2);
    session.setGrade(1, 5);
    session.setGrade(12, 255);
    session.setGrade(0, 1);  // no test 0: the unused element stays
    session.setGrade(13, 1); // outside the table
    Grades expected{};
    expected.fill(2);
    expected[1] = 5;
    expected[12] = 255;
    EXPECT_EQ(session.grades, expected);
}

TEST(Session, PassedTestsAreThoseGradedThreeOrMore) {
    Session session;
    const std::array<quint8, 12> grades{3, 2, 5, 0, 0, 0, 0, 0, 0, 0, 1, 4};
    for (int test = 1; test <= 12; ++test) {
        session.setGrade(test, grades[static_cast<size_t>(test - 1)]);
    }
    EXPECT_EQ(session.passedTests(), (QStringList{QStringLiteral("test1"), QStringLiteral("test3"),
                                                  QStringLiteral("test12")}));
}

// A course with more tests than the shipped twelve keeps, shows and passes grades up to its
// own last slot, and none beyond it.
TEST(Session, TheCoursesGradeSlotsBoundTheTable) {
    Session session;
    session.gradeSlots = 15;
    session.recordGrade({4, 13});
    session.setGrade(15, 3);
    session.setGrade(16, 5);
    session.recordGrade({5, 16});
    EXPECT_EQ(session.testGrades().size(), 15U);
    EXPECT_EQ(session.testGrades()[12], 4);
    EXPECT_EQ(session.grades[16], 0);
    EXPECT_EQ(session.passedTests(),
              (QStringList{QStringLiteral("test13"), QStringLiteral("test15")}));
    session.gradeSlots = 3;
    EXPECT_EQ(session.testGrades().size(), 3U);
    EXPECT_EQ(session.passedTests(), QStringList{});
}

} // namespace
