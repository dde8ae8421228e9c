// SPDX-License-Identifier: GPL-3.0-or-later
// A student works through the course's five tests on a copy of course/, then the administrator
// looks at the student's grades and the test log.

#include "core/exam/test_file.h"
#include "core/program/course_state.h"
#include "core/storage/scrambled_store.h"
#include "support/course_copy.h"
#include "support/course_driver.h"

#include <QAction>
#include <QDirIterator>
#include <QFile>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::answerPositions;
using velmora::test::copyFolder;
using velmora::test::CourseDriver;
using velmora::test::stateOf;
using velmora::test::TempFolder;

namespace {

const QString kStudent = QStringLiteral("Әсел");

TEST(CourseEndToEnd, AStudentPassesTestsOneToFiveAndTheAdministratorSeesIt) {
    const TempFolder folder;
    copyFolder(QStringLiteral(VELMORA_SOURCE_ROOT "/course"), folder.path());
    CourseDriver course(folder);
    course.start();
    course.registerStudent(QStringLiteral("Бекзат"), QStringLiteral("1"));
    course.registerStudent(kStudent, QStringLiteral("7"));
    course.signIn(kStudent, QStringLiteral("7"));
    ASSERT_EQ(stateOf(course.window()).menuState(), MenuState::Student);
    course.forgetBoxes();

    const QStringList nextLecture{QStringLiteral("N2"), QStringLiteral("N3"), QStringLiteral("N33"),
                                  QStringLiteral("N34")};
    for (int test = 1; test <= 5; ++test) {
        SCOPED_TRACE(test);
        ASSERT_TRUE(course.item(QStringLiteral("test%1").arg(test))->isEnabled());
        course.startTest(test);
        ASSERT_EQ(course.visibleScreens(), std::set<int>{3});
        course.answer(answerPositions(test));
        ASSERT_EQ(course.visibleScreens(), std::set<int>{2});
        EXPECT_EQ(course.gradeShown(test), QStringLiteral("5"));
        if (test < 5) {
            EXPECT_TRUE(course.item(nextLecture[test - 1])->isEnabled());
            EXPECT_TRUE(course.item(QStringLiteral("test%1").arg(test + 1))->isEnabled());
        }
        course.leaveProgress();
    }
    EXPECT_TRUE(course.boxes().isEmpty());
    for (int n = 1; n <= 5; ++n) {
        EXPECT_EQ(course.storedGrade(kStudent, n), QStringLiteral("5")) << n;
    }
    course.exitProgram();

    // At the next start the administrator picks the student and reads the log.
    course.restart();
    course.forgetBoxes();
    course.signIn(course.session().admin.login, course.session().admin.password);
    ASSERT_EQ(stateOf(course.window()).menuState(), MenuState::Administrator);
    course.choose("Ni");
    ASSERT_EQ(course.userList(), (QStringList{QStringLiteral("Бекзат"), kStudent}));
    course.pickUser(1);
    for (int n = 1; n <= 10; ++n) {
        EXPECT_EQ(course.gradeShown(n), n <= 5 ? QStringLiteral("5") : QStringLiteral("0"));
    }
    course.choose("N30");
    const QStringList log = course.testLogShown().split(QLatin1Char('\n'));
    ASSERT_EQ(log.size(), 5);
    for (int n = 1; n <= 5; ++n) {
        EXPECT_TRUE(log[n - 1].startsWith(kStudent + QStringLiteral(" | ")));
        EXPECT_TRUE(log[n - 1].endsWith(QStringLiteral(" | test%1 | 5").arg(n)));
    }
    EXPECT_TRUE(course.boxes().isEmpty());
}

} // namespace
