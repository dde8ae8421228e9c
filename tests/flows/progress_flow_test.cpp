// SPDX-License-Identifier: GPL-3.0-or-later
// The progress screen in the main window: the student's own grades and the administrator's pick.

#include "core/program/course_state.h"
#include "core/storage/code_page.h"
#include "core/storage/scrambled_store.h"
#include "gui/screens/progress_screen.h"
#include "gui/screens/user_list_box.h"
#include "support/course_driver.h"

#include <QComboBox>
#include <QLineEdit>
#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::CourseDriver;
using velmora::test::findIn;
using velmora::test::stateOf;

namespace {

void storeGrades(const QString& user, const QStringList& values) {
    for (qsizetype n = 0; n < values.size(); ++n) {
        writeini(user, QStringLiteral("test%1").arg(n + 1), values[n],
                 QStringLiteral("\\users.ini"));
    }
}

// Two students' grades and a name list of three, the third without grades; the administrator is
// "admin" with the password "admin".
class ProgressFlow : public ::testing::Test {
protected:
    ProgressFlow() {
        storeGrades(QStringLiteral("Бекзат"),
                    QStringLiteral("4 2 256 -1 0 0 0 0 0 3 0 0").split(QLatin1Char(' ')));
        storeGrades(QStringLiteral("Айгүл"),
                    QStringLiteral("5 5 5 5 x 0 0 0 0 0 0 0").split(QLatin1Char(' ')));
        course.folder().write(QStringLiteral("users"),
                              CodePage::encode(u"Бекзат\r\nАйгүл\r\nГость\r\n"));
        course.start();
        EXPECT_TRUE(course.boxes().isEmpty());
    }

    void signInAsAdministrator() const {
        course.signIn(QStringLiteral("admin"), QStringLiteral("admin"));
        ASSERT_EQ(stateOf(course.window()).menuState(), MenuState::Administrator);
    }
    const Session& session() const { return course.session(); }
    QStringList grades(const char* list) const {
        return QString::fromLatin1(list).split(QLatin1Char(' '));
    }

    CourseDriver course;
};

TEST_F(ProgressFlow, AStudentSeesTheOwnGradesFromAnyScreen) {
    course.registerStudent(QStringLiteral("Жаңа"), QStringLiteral("pw"));
    course.signIn(QStringLiteral("Жаңа"), QStringLiteral("pw"));
    course.setVisibleScreens({6});
    course.choose("Ni");
    EXPECT_EQ(course.visibleScreens(), std::set<int>{2});
    EXPECT_EQ(course.gradesShown(), grades("1 0 0 0 0 0 0 0 0 0"));
    EXPECT_EQ(course.nameShown(), QStringLiteral("Жаңа"));
    EXPECT_FALSE(findIn<UserListBox>(course.window(), "ComboBox1")->isVisible());
}

TEST_F(ProgressFlow, TheAdministratorPicksAUserAndSeesTheLowEightBits) {
    signInAsAdministrator();
    course.choose("Ni");
    EXPECT_EQ(course.gradesShown(), grades("0 0 0 0 0 0 0 0 0 0"));
    EXPECT_TRUE(findIn<UserListBox>(course.window(), "ComboBox1")->isVisible());
    course.pickUser(0);
    EXPECT_EQ(course.gradesShown(), grades("4 2 0 255 0 0 0 0 0 3"));
    EXPECT_EQ(session().grades[4], 255);
    EXPECT_TRUE(course.boxes().isEmpty());
    // Reopening the screen shows the picked user's grades again; nothing is reloaded.
    course.leaveProgress();
    course.choose("Ni");
    EXPECT_EQ(course.gradeShown(1), QStringLiteral("4"));
    EXPECT_EQ(findIn<UserListBox>(course.window(), "ComboBox1")->currentText(),
              QStringLiteral("Бекзат"));
}

// The filled list selects nobody: the administrator's own grades are not shown under a student's
// name, and typing the first student's name loads that student's grades.
TEST_F(ProgressFlow, AFreshListSelectsNobodyAndTheFirstNameTypedLoads) {
    signInAsAdministrator();
    course.choose("Ni");
    EXPECT_EQ(findIn<UserListBox>(course.window(), "ComboBox1")->currentText(), QString());
    EXPECT_EQ(findIn<UserListBox>(course.window(), "ComboBox1")->currentIndex(), -1);
    course.typeUserName(QStringLiteral("б"));
    EXPECT_EQ(findIn<UserListBox>(course.window(), "ComboBox1")->currentText(),
              QStringLiteral("Бекзат"));
    EXPECT_EQ(course.gradeShown(1), QStringLiteral("4"));
}

TEST_F(ProgressFlow, TypingCompletesToAUserAndLoadsTheGrades) {
    signInAsAdministrator();
    course.choose("Ni");
    findIn<UserListBox>(course.window(), "ComboBox1")->setCurrentIndex(2);
    course.typeUserName(QStringLiteral("б"));
    EXPECT_EQ(findIn<UserListBox>(course.window(), "ComboBox1")->currentText(),
              QStringLiteral("Бекзат"));
    EXPECT_EQ(course.gradeShown(1), QStringLiteral("4"));
    EXPECT_EQ(course.gradeShown(3), QStringLiteral("0"));
    // Completing to the entry already selected loads nothing again.
    writeini(QStringLiteral("Бекзат"), QStringLiteral("test1"), QStringLiteral("9"),
             QStringLiteral("\\users.ini"));
    course.typeUserName(QStringLiteral("Б"));
    EXPECT_EQ(session().grades[1], 4);
    EXPECT_EQ(course.gradeShown(1), QStringLiteral("4"));
}

TEST_F(ProgressFlow, ADamagedOrMissingEntryStopsTheLoadAndKeepsTheLabels) {
    signInAsAdministrator();
    course.choose("Ni");
    course.pickUser(0);
    course.pickUser(1); // "Айгүл": test5 holds "x"
    ASSERT_EQ(course.boxes().size(), 1);
    EXPECT_EQ(course.boxes()[0].text, QStringLiteral("'x' is not a valid integer value."));
    EXPECT_EQ(course.boxes()[0].caption, applicationTitle());
    EXPECT_EQ(course.gradesShown(), grades("4 2 0 255 0 0 0 0 0 3"));
    // The entries before the damaged one are taken, the others keep the previous user's.
    const Grades& g = session().grades;
    EXPECT_EQ((std::array<int, 5>{g[1], g[2], g[4], g[5], g[10]}),
              (std::array<int, 5>{5, 5, 5, 0, 3}));

    course.forgetBoxes();
    course.pickUser(2); // "Гость" has no section
    ASSERT_EQ(course.boxes().size(), 1);
    EXPECT_EQ(course.boxes()[0].text,
              QStringLiteral("'%1' is not a valid integer value.").arg(missingValue()));
    EXPECT_EQ(session().grades[1], 5);
    EXPECT_EQ(course.gradeShown(1), QStringLiteral("4"));
}

} // namespace
