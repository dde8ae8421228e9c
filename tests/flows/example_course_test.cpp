// SPDX-License-Identifier: GPL-3.0-or-later
// A second course book, made only of its folder (examples/russian-course): the same program shows
// its caption, title page, menus, unlocks, search, progress rows and journal, and velmora-admin
// lists its tests.

#include "core/access/user_register.h"
#include "core/exam/test_file.h"
#include "core/program/course_state.h"
#include "gui/windows/course_search_window.h"
#include "gui/windows/group_journal_window.h"
#include "gui/windows/title_page.h"
#include "support/admin_run.h"
#include "support/course_copy.h"
#include "support/course_driver.h"

#include <QAction>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::answerPositions;
using velmora::test::copyFolder;
using velmora::test::CourseDriver;
using velmora::test::findIn;
using velmora::test::TempFolder;

namespace {

const QString kStudent = QStringLiteral("Ирина");
const QString kPassword = QStringLiteral("5");

class ExampleCourse : public ::testing::Test {
protected:
    ExampleCourse() {
        copyFolder(QStringLiteral(VELMORA_SOURCE_ROOT "/examples/russian-course"), folder.path());
    }

    void signInNewStudent() {
        course.start();
        course.registerStudent(kStudent, kPassword);
        course.signIn(kStudent, kPassword);
        course.forgetBoxes();
    }
    bool exists(const char* name) const {
        return course.window().findChild<QAction*>(QString::fromLatin1(name)) != nullptr;
    }

    TempFolder folder;
    CourseDriver course{folder};
};

TEST_F(ExampleCourse, ItsCaptionTitlePageAndMenusComeFromItsFile) {
    course.start();
    EXPECT_EQ(course.window().windowTitle(),
              QStringLiteral("Электронный учебник «Основы компьютерных сетей»"));
    EXPECT_EQ(course.item("lecture1")->text(), QStringLiteral("1. Что такое компьютерная сеть"));
    EXPECT_EQ(course.item("menu2")->text(), QStringLiteral("Практика"));
    // None of the shipped course's menus is there; the program's own follow the course's.
    for (const char* shipped : {"N0", "nlab", "Nprak", "Nrk", "N8", "n1", "N2"}) {
        EXPECT_FALSE(exists(shipped)) << shipped;
    }
    // Before sign-in only the menu marked so, and the program's own.
    EXPECT_TRUE(course.offered("materials"));
    EXPECT_FALSE(course.offered("lectures"));
    EXPECT_FALSE(course.offered("menu2"));
    EXPECT_TRUE(course.offered("NaFormuAvtorizazii"));

    const TitlePage page(nullptr);
    EXPECT_EQ(findIn<QLabel>(static_cast<const QObject&>(page), "Label1")->text(),
              QStringLiteral("Северный политехнический колледж"));
    EXPECT_EQ(findIn<QLabel>(static_cast<const QObject&>(page), "Label4")->text(),
              QStringLiteral("Основы компьютерных сетей"));
    EXPECT_TRUE(findIn<QLabel>(static_cast<const QObject&>(page), "Label5")
                    ->text()
                    .contains(QStringLiteral("И. Н. Сетевая")));
}

TEST_F(ExampleCourse, ItsTestsUnlockItsLecturesAndItsProgressRowsAreItsTests) {
    signInNewStudent();
    EXPECT_TRUE(course.offered("lectures"));
    EXPECT_TRUE(course.offered("menu2"));
    EXPECT_TRUE(course.enabled("test1"));
    for (const char* locked : {"lecture2", "test2", "lecture3"}) {
        EXPECT_FALSE(course.enabled(locked)) << locked;
    }
    course.startTest(1);
    course.answer(answerPositions(1, true));
    EXPECT_EQ(course.gradesShown(), (QStringList{QStringLiteral("5"), QStringLiteral("0")}));
    EXPECT_TRUE(course.enabled("lecture2"));
    EXPECT_TRUE(course.enabled("test2"));
    EXPECT_FALSE(course.enabled("lecture3"));
    course.leaveProgress();

    // A failed test 2 leaves lecture 3 shut, also after the next sign-in.
    course.startTest(2);
    course.answer(answerPositions(2, false));
    EXPECT_EQ(course.gradeShown(2), QStringLiteral("1"));
    EXPECT_FALSE(course.enabled("lecture3"));
    course.exitProgram();
    course.restart();
    course.signIn(kStudent, kPassword);
    EXPECT_TRUE(course.enabled("lecture2"));
    EXPECT_FALSE(course.enabled("lecture3"));
    // Registration wrote the course's four grade slots and no more.
    EXPECT_EQ(course.storedGrade(kStudent, 4), QStringLiteral("0"));
    EXPECT_FALSE(UserRegister::readGrades(kStudent, 5).grade(5).has_value());
}

TEST_F(ExampleCourse, ItsSearchFindsOnlyTheLecturesOpenNow) {
    signInNewStudent();
    course.choose("NSearch");
    auto* search = findIn<CourseSearchWindow>(course.window(), "courseSearch");
    QElapsedTimer clock;
    clock.start();
    while (search->status()->text() == QStringLiteral("Индекс строится...") &&
           clock.elapsed() < 20'000) {
        QTest::qWait(20);
    }
    const auto titles = [search] {
        search->queryBox()->setText(QStringLiteral("TCP"));
        search->refresh();
        QStringList found;
        for (int i = 0; i < search->results()->count(); ++i) {
            found << search->results()->item(i)->data(Qt::AccessibleTextRole).toString();
        }
        return found;
    };
    // Lecture 2 speaks of TCP, as the help page does; it is found once test 1 is passed.
    const QString lecture2 = QStringLiteral("2. Модель OSI и стек TCP/IP");
    EXPECT_FALSE(titles().contains(lecture2));
    EXPECT_EQ(titles().size(), 1);
    course.startTest(1);
    course.answer(answerPositions(1, true));
    course.leaveProgress();
    EXPECT_TRUE(titles().contains(lecture2));
    EXPECT_EQ(titles().size(), 2);
}

TEST_F(ExampleCourse, ItsJournalAndVelmoraAdminListItsTwoTests) {
    signInNewStudent();
    course.startTest(1);
    course.answer(answerPositions(1, true));
    course.exitProgram();
    course.restart();
    course.signIn(course.session().admin.login, course.session().admin.password);
    course.choose("njournal");
    const QAbstractItemModel* grades = findIn<QTableView>(course.window(), "grades")->model();
    QStringList header;
    for (int column = 0; column < grades->columnCount(); ++column) {
        header << grades->headerData(column, Qt::Horizontal).toString();
    }
    EXPECT_TRUE(header.contains(QStringLiteral("Тест 2"))) << header.join(u'|').toStdString();
    EXPECT_FALSE(header.contains(QStringLiteral("Тест 3"))) << header.join(u'|').toStdString();

    const test::AdminRun run = test::runAdmin({QStringLiteral("grades")}, folder.path());
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.out.split(u'\n').value(0).split(u' ', Qt::SkipEmptyParts),
              (QStringList{QStringLiteral("User"), QStringLiteral("T1"), QStringLiteral("T2")}));
}

} // namespace
