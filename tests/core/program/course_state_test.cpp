// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/access/user_register.h"
#include "core/access/view_preferences.h"
#include "core/program/course_state.h"
#include "core/storage/code_page.h"
#include "core/storage/failure.h"
#include "core/storage/ini_file.h"
#include "core/storage/scrambled_store.h"
#include "support/temp_folder.h"
#include "support/test_file_builder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::numberedQuestions;
using velmora::test::TempFolder;
using velmora::test::writeTestFile;

namespace {

// ---- which menus and items each state shows ----

// The names on the shipped course's menu bar that each state shows, in menu order.
QStringList visibleNames(const CourseState& state, const QStringList& names) {
    QStringList visible;
    for (const QString& name : names) {
        if (state.isVisible(name)) {
            visible.append(name);
        }
    }
    return visible;
}

struct VisibilityCase {
    const char* name;
    std::function<void(CourseState&)> enter;
    std::vector<const char*> shown;
};

TEST(CourseStateMenus, EachStateAndTestStageShowsItsMenus) {
    TempFolder folder;
    ASSERT_TRUE(UserRegister::addStudent(QStringLiteral("Ivan"), QStringLiteral("pw")));
    writeTestFile(QStringLiteral("test1"), numberedQuestions({1}), QStringLiteral("1"));
    const QStringList menuBar{QStringLiteral("N0"),
                              QStringLiteral("nlab"),
                              QStringLiteral("Nprak"),
                              QStringLiteral("Nrk"),
                              QStringLiteral("N8"),
                              QStringLiteral("Nadm"),
                              QStringLiteral("Ni"),
                              QStringLiteral("notch"),
                              QStringLiteral("N30"),
                              QStringLiteral("Ntun"),
                              QStringLiteral("nred"),
                              QStringLiteral("njournal"),
                              QStringLiteral("NaFormuAvtorizazii"),
                              QStringLiteral("N21"),
                              QStringLiteral("NSearch"),
                              QStringLiteral("Ne")};
    const auto student = [](CourseState& s) { s.signInStudent(QStringLiteral("Ivan")); };
    const auto admin = [](CourseState& s) { s.signInAdministrator(QStringLiteral("admin")); };
    const auto testing = [](CourseState& s) {
        s.chooseTest(QStringLiteral("test1"));
        ASSERT_TRUE(s.startTest());
    };
    const auto result = [&](CourseState& s) {
        testing(s);
        ASSERT_FALSE(s.answer(1));
        s.passTest();
    };
    const std::vector<VisibilityCase> cases = {
        {"design",
         [](CourseState&) {},
         {"N0", "N8", "Ni", "N30", "NaFormuAvtorizazii", "N21", "NSearch", "Ne"}},
        {"before sign-in",
         [](CourseState& s) { s.start(); },
         {"N8", "Ni", "N30", "NaFormuAvtorizazii", "N21", "NSearch", "Ne"}},
        {"student",
         student,
         {"N0", "nlab", "Nprak", "Nrk", "N8", "Nadm", "Ni", "N30", "N21", "NSearch", "Ne"}},
        {"administrator",
         admin,
         {"N0", "nlab", "Nprak", "Nrk", "N8", "Nadm", "Ni", "notch", "N30", "Ntun", "nred",
          "njournal", "N21", "NSearch", "Ne"}},
        {"student asking",
         [&](CourseState& s) {
             student(s);
             testing(s);
         },
         {"nlab", "Nprak", "Nrk", "N8", "Nadm", "N30", "N21", "NSearch", "Ne"}},
        {"administrator showing a result",
         [&](CourseState& s) {
             admin(s);
             result(s);
         },
         {"nlab", "Nprak", "Nrk", "N8", "Nadm", "notch", "N30", "Ntun", "nred", "njournal", "N21",
          "NSearch", "Ne"}},
        {"student after leaving the result",
         [&](CourseState& s) {
             student(s);
             result(s);
             s.leaveTest();
         },
         {"N0", "nlab", "Nprak", "Nrk", "N8", "Nadm", "Ni", "N30", "N21", "NSearch", "Ne"}},
        {"test left for another screen",
         [&](CourseState& s) {
             student(s);
             testing(s);
             s.frontScreenChanged(Screen::Document);
         },
         {"N0", "nlab", "Nprak", "Nrk", "N8", "Nadm", "Ni", "N30", "N21", "NSearch", "Ne"}},
    };
    for (const VisibilityCase& c : cases) {
        CourseState state(CourseBook::current());
        c.enter(state);
        QStringList shown;
        for (const char* name : c.shown) {
            shown.append(QString::fromLatin1(name));
        }
        EXPECT_EQ(visibleNames(state, menuBar), shown) << c.name;
    }
}

TEST(CourseStateMenus, TheTestStageFollowsTheScreenInFront) {
    TempFolder folder;
    writeTestFile(QStringLiteral("test1"), numberedQuestions({1, 1}), QStringLiteral("2"));
    CourseState state(CourseBook::current());
    state.signInAdministrator(QStringLiteral("admin"));
    state.chooseTest(QStringLiteral("test1"));
    ASSERT_TRUE(state.startTest());
    state.frontScreenChanged(Screen::Test);
    EXPECT_EQ(state.testStage(), TestStage::Asking);
    state.frontScreenChanged(Screen::Progress); // the progress screen in front while asking
    EXPECT_EQ(state.testStage(), TestStage::None);
    EXPECT_FALSE(state.answer(1)) << "an abandoned test is never scored again";

    ASSERT_TRUE(state.startTest());
    ASSERT_TRUE(state.answer(1));
    ASSERT_FALSE(state.answer(1));
    state.passTest();
    state.frontScreenChanged(Screen::Progress);
    EXPECT_EQ(state.testStage(), TestStage::Result);
    state.frontScreenChanged(Screen::SignIn);
    EXPECT_EQ(state.testStage(), TestStage::None);
}

TEST(CourseStateMenus, ATestWithoutQuestionsChangesNothing) {
    TempFolder folder;
    writeTestFile(QStringLiteral("test1"), numberedQuestions({}), QStringLiteral("0"));
    CourseState state(CourseBook::current());
    state.signInAdministrator(QStringLiteral("admin"));
    QSignalSpy changed(&state, &CourseState::changed);
    state.chooseTest(QStringLiteral("test1"));
    EXPECT_FALSE(state.startTest());
    EXPECT_EQ(state.testStage(), TestStage::None);
    EXPECT_TRUE(state.isVisible(QStringLiteral("N0")));
    EXPECT_EQ(changed.count(), 0);
}

// ---- locks ----

class CourseStateLocks : public ::testing::Test {
protected:
    static void storeGrades(const QList<int>& values) {
        IniValues v{{QStringLiteral("password"), QStringLiteral("p")}};
        for (int n = 1; n <= values.size(); ++n) {
            v.append({UserRegister::testKey(n), QString::number(values[n - 1])});
        }
        writeiniValues(QStringLiteral("ivan"), v, UserRegister::path());
    }
    // The shipped course's items that follow a test and are disabled now.
    QStringList disabled() const {
        QStringList names;
        for (const CourseItem* item : CourseBook::current().items()) {
            if (!state.isEnabled(item->name)) {
                names.append(item->name);
            }
        }
        return names;
    }
    // Takes test `test` (two questions, the first answer right) answering `positions`.
    void takeTest(int test, const QList<int>& positions) {
        const QString key = UserRegister::testKey(test);
        writeTestFile(key, numberedQuestions({1, 1}), QStringLiteral("2"));
        state.chooseTest(key);
        ASSERT_TRUE(state.startTest());
        for (int position : positions) {
            (void)state.answer(position);
        }
        state.passTest();
        state.leaveTest();
    }

    TempFolder folder;
    CourseState state{CourseBook::current()};
};

TEST_F(CourseStateLocks, ANewStudentHasLectures2To5AndTheirTestsLocked) {
    ASSERT_TRUE(UserRegister::addStudent(QStringLiteral("ivan"), QStringLiteral("p")));
    state.signInStudent(QStringLiteral("Ivan"));
    EXPECT_EQ(disabled(),
              (QStringList{QStringLiteral("N2"), QStringLiteral("test2"), QStringLiteral("N3"),
                           QStringLiteral("test3"), QStringLiteral("N33"), QStringLiteral("test4"),
                           QStringLiteral("N34"), QStringLiteral("test5")}));
    EXPECT_EQ(state.session().grades[1], 1);
    EXPECT_EQ(state.session().grades[10], 0);
    EXPECT_EQ(state.menuState(), MenuState::Student);
    EXPECT_TRUE(state.session().signedIn);
}

TEST_F(CourseStateLocks, PassedTestsKeepTheirFollowersOpenAndOnlyTenGradesAreRead) {
    storeGrades({4, 2, 0, 5, 3, 0, 0, 0, 0, 0, 5, 5});
    state.signInStudent(QStringLiteral("ivan"));
    EXPECT_EQ(disabled(), (QStringList{QStringLiteral("N3"), QStringLiteral("test3"),
                                       QStringLiteral("N33"), QStringLiteral("test4")}));
    const Grades expected{0, 4, 2, 0, 5, 3, 0, 0, 0, 0, 0, 0, 0}; // 11 and 12 are not read
    EXPECT_EQ(state.session().grades, expected);
}

TEST_F(CourseStateLocks, GradesKeepTheLowByteOfTheStoredNumber) {
    storeGrades({259, -1, 3, 0, 0, 0, 0, 0, 0, 0});
    state.signInStudent(QStringLiteral("ivan"));
    EXPECT_EQ(state.session().grades[1], 3);
    EXPECT_EQ(state.session().grades[2], 255);
    EXPECT_EQ(disabled(), (QStringList{QStringLiteral("N34"), QStringLiteral("test5")}));
}

TEST_F(CourseStateLocks, ANonNumericGradeStopsAfterTheEarlierOnesWereApplied) {
    storeGrades({4, 1, 0});
    writeini(QStringLiteral("ivan"), QStringLiteral("test3"), QStringLiteral("x3"),
             UserRegister::path());
    QSignalSpy changed(&state, &CourseState::changed);
    try {
        state.signInStudent(QStringLiteral("ivan"));
        ADD_FAILURE() << "a non-numeric grade was taken";
    } catch (const Failure& f) {
        EXPECT_EQ(f.message(), QStringLiteral("'x3' is not a valid integer value"));
    }
    EXPECT_EQ(state.session().grades[1], 4);
    EXPECT_EQ(state.session().grades[2], 1);
    EXPECT_EQ(disabled(), (QStringList{QStringLiteral("N3"), QStringLiteral("test3")}));
    EXPECT_FALSE(state.session().signedIn);
    EXPECT_EQ(state.menuState(), MenuState::Design);
    EXPECT_EQ(changed.count(), 1) << "the locks applied are shown";
}

TEST_F(CourseStateLocks, AMissingGradeFailsWithTheUnscrambledMarker) {
    storeGrades({4});
    try {
        state.signInStudent(QStringLiteral("ivan"));
        ADD_FAILURE() << "a missing grade was taken";
    } catch (const Failure& f) {
        EXPECT_EQ(f.message(),
                  QStringLiteral("'%1' is not a valid integer value").arg(missingValue()));
    }
}

TEST_F(CourseStateLocks, APassDuringTheRunOpensItsFollowersAndAFailNeverLocksAgain) {
    storeGrades({1, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    state.signInStudent(QStringLiteral("ivan"));
    takeTest(1, {2, 2}); // failed: still locked
    EXPECT_TRUE(disabled().contains(QStringLiteral("N2")));
    takeTest(1, {1, 1}); // passed
    EXPECT_EQ(state.session().grades[1], 5);
    EXPECT_EQ(disabled(), (QStringList{QStringLiteral("N3"), QStringLiteral("test3"),
                                       QStringLiteral("N33"), QStringLiteral("test4"),
                                       QStringLiteral("N34"), QStringLiteral("test5")}));
    takeTest(1, {2, 2}); // failed again: nothing locks again during the run
    EXPECT_LT(state.session().grades[1], 3);
    EXPECT_TRUE(state.isEnabled(QStringLiteral("N2")));
    EXPECT_TRUE(state.isEnabled(QStringLiteral("test2")));
    // Until the next sign-in, which follows the grades again.
    state.signInStudent(QStringLiteral("ivan"));
    EXPECT_FALSE(state.isEnabled(QStringLiteral("N2")));
}

TEST_F(CourseStateLocks, TheAdministratorHasEverythingOpenAfterAStudent) {
    ASSERT_TRUE(UserRegister::addStudent(QStringLiteral("ivan"), QStringLiteral("p")));
    state.signInStudent(QStringLiteral("ivan"));
    ASSERT_FALSE(disabled().isEmpty());
    state.signInAdministrator(QStringLiteral("admin"));
    EXPECT_TRUE(disabled().isEmpty());
    EXPECT_EQ(state.menuState(), MenuState::Administrator);
}

// ---- the high-contrast look ----

// Each user gets back the look they chose; one who never chose keeps the look on screen; a choice
// made before anyone signed in is nobody's. The choices stay in "view.ini", names in the code page.
TEST_F(CourseStateLocks, TheHighContrastLookIsRememberedForEachUser) {
    for (const QString& name : {QStringLiteral("Айгүл"), QStringLiteral("ivan")}) {
        ASSERT_TRUE(UserRegister::addStudent(name, QStringLiteral("p")));
    }
    QSignalSpy changed(&state, &CourseState::changed);
    state.setHighContrast(true);
    EXPECT_TRUE(state.highContrast());
    EXPECT_EQ(changed.size(), 1);
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("view.ini"))) << "nobody has signed in";

    state.signInStudent(QStringLiteral("Айгүл"));
    EXPECT_TRUE(state.highContrast()) << "no choice of her own: the look stays";
    state.setHighContrast(false);
    state.setHighContrast(true);
    state.signInStudent(QStringLiteral("ivan"));
    state.setHighContrast(false);

    CourseState later{CourseBook::current()};
    EXPECT_FALSE(later.highContrast());
    later.signInStudent(QStringLiteral("Айгүл"));
    EXPECT_TRUE(later.highContrast());
    later.signInStudent(QStringLiteral("ivan"));
    EXPECT_FALSE(later.highContrast());
    later.signInAdministrator(QStringLiteral("admin"));
    EXPECT_FALSE(later.highContrast()) << "the administrator never chose: the look stays";
    EXPECT_EQ(ViewPreferences::highContrast(QStringLiteral("АЙГҮЛ")), true)
        << "names are found whatever their letter case, as in the register";

    QFile file(QStringLiteral("view.ini"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.contains(CodePage::encode(u"[Айгүл]") + "\r\ncontrast=1"))
        << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("[ivan]\r\ncontrast=0")) << bytes.toStdString();
}

// ---- documents ----

TEST_F(CourseStateLocks, OfferedDocumentsFollowTheMenusAndTheLocks) {
    const QString lecture1 = QStringLiteral("data/info/lig-1.html");
    const QString lecture2 = QStringLiteral("data/info/lig-2.html");
    const QString syllabus = QStringLiteral("data/prak/sillabus.htm");
    const QString lab1 = QStringLiteral("data/labs/1.htm");
    const QString help = QStringLiteral("data/help/sod.htm");
    state.start();
    EXPECT_EQ(state.offeredDocuments(),
              (QStringList{syllabus, QStringLiteral("data/info/MU.htm"),
                           QStringLiteral("data/prak/srm.htm"),
                           QStringLiteral("data/prak/VoprExam.htm"), help}));
    ASSERT_TRUE(UserRegister::addStudent(QStringLiteral("ivan"), QStringLiteral("p")));
    state.signInStudent(QStringLiteral("ivan"));
    const QStringList student = state.offeredDocuments();
    EXPECT_TRUE(student.contains(lecture1));
    EXPECT_FALSE(student.contains(lecture2));
    EXPECT_TRUE(student.contains(lab1));
    EXPECT_EQ(student.size(), 39 - 4);
    EXPECT_EQ(state.documents().size(), 39); // every document item and the help

    // A page's link: to an offered file, a locked one, a file no item opens.
    QDir().mkpath(QStringLiteral("data/info"));
    for (const QString& path : {lecture1, lecture2, QStringLiteral("data/info/extra.htm")}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const auto canonical = [](const QString& path) {
        return QFileInfo(CourseState::filePath(path)).canonicalFilePath();
    };
    EXPECT_TRUE(state.mayOpen(canonical(lecture1)));
    EXPECT_FALSE(state.mayOpen(canonical(lecture2)));
    EXPECT_TRUE(state.mayOpen(canonical(QStringLiteral("data/info/extra.htm"))));
}

// A course of its own: a menu before sign-in holding a test, a locked item in another menu.
TEST(CourseStateOwnCourse, RulesFollowTheCourseNotTheShippedNames) {
    TempFolder folder;
    CourseBook course;
    course.passGrade = 4;
    course.shownTests = 2;
    const auto item = [](const char* name, CourseItemKind kind, const char* document = "") {
        CourseItem made;
        made.name = QString::fromLatin1(name);
        made.caption = made.name;
        made.kind = kind;
        made.document = QString::fromLatin1(document);
        return made;
    };
    CourseItem test1 = item("t1", CourseItemKind::Test);
    test1.test = 1;
    CourseItem locked = item("b", CourseItemKind::Document, "data/b.htm");
    locked.afterTest = 1;
    course.menus.push_back({QStringLiteral("first"),
                            QStringLiteral("First"),
                            true,
                            {test1, item("a", CourseItemKind::Document, "data/a.htm")},
                            {}});
    course.menus.push_back(
        {QStringLiteral("second"), QStringLiteral("Second"), false, {locked}, {}});
    course.help = QStringLiteral("data/help.htm");
    CourseState state(course);
    state.start();
    EXPECT_TRUE(state.isVisible(QStringLiteral("first")));
    EXPECT_FALSE(state.isVisible(QStringLiteral("second")));
    EXPECT_EQ(state.offeredDocuments(),
              (QStringList{QStringLiteral("data/a.htm"), QStringLiteral("data/help.htm")}));

    IniValues grades{{QStringLiteral("password"), QStringLiteral("p")},
                     {QStringLiteral("test1"), QStringLiteral("3")},
                     {QStringLiteral("test2"), QStringLiteral("0")}};
    writeiniValues(QStringLiteral("olga"), grades, UserRegister::path());
    state.signInStudent(QStringLiteral("olga"));
    EXPECT_TRUE(state.isVisible(QStringLiteral("second")));
    EXPECT_FALSE(state.isEnabled(QStringLiteral("b"))) << "3 is below this course's pass grade";

    writeTestFile(QStringLiteral("test1"), numberedQuestions({1}), QStringLiteral("1"));
    state.chooseTest(QStringLiteral("test1"));
    ASSERT_TRUE(state.startTest());
    EXPECT_FALSE(state.isVisible(QStringLiteral("first"))) << "it holds a test";
    EXPECT_TRUE(state.isVisible(QStringLiteral("second")));
    ASSERT_FALSE(state.answer(1));
    state.passTest();
    EXPECT_TRUE(state.isEnabled(QStringLiteral("b")));
}

} // namespace
