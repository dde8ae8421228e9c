#include "core/access/session.h"

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

TEST(Session, TakenGradesReplaceTheFirstOnesInOrder) {
    Session session;
    session.grades.fill(2);
    session.takeGrades({5, 0, 255});
    EXPECT_EQ(session.grades[0], 2); // unused
    EXPECT_EQ(session.grades[1], 5);
    EXPECT_EQ(session.grades[2], 0);
    EXPECT_EQ(session.grades[3], 255);
    EXPECT_EQ(session.grades[4], 2);
    session.takeGrades(QList<quint8>(20, 1)); // more than the table holds
    EXPECT_EQ(session.grades[12], 1);
}

TEST(Session, PassedTestsAreThoseGradedThreeOrMore) {
    Session session;
    session.takeGrades({3, 2, 5, 0, 0, 0, 0, 0, 0, 0, 1, 4});
    EXPECT_EQ(session.passedTests(), (QStringList{QStringLiteral("test1"), QStringLiteral("test3"),
                                                  QStringLiteral("test12")}));
}

} // namespace
