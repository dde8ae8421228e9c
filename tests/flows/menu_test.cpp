// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/program/course_state.h"
#include "shell_fixture.h"
#include "support/test_file_builder.h"

#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace velmora::test {
namespace {

struct DocumentCommand {
    const char* item;
    const char* document;
};

// Every course document command with its document path (captions are in the golden menus).
const DocumentCommand documentCommands[] = {
    {"n1", "\\data\\info\\lig-1.html"},    {"N2", "\\data\\info\\lig-2.html"},
    {"N3", "\\data\\info\\lig-3.html"},    {"N33", "\\data\\info\\lig-4.html"},
    {"N34", "\\data\\info\\lig-5.html"},   {"N6", "\\data\\info\\vopr.htm"},
    {"N111", "\\data\\labs\\1.htm"},       {"N112", "\\data\\labs\\2.htm"},
    {"N215", "\\data\\labs\\3.htm"},       {"N113", "\\data\\labs\\4.htm"},
    {"N216", "\\data\\labs\\5.htm"},       {"N315", "\\data\\labs\\6.htm"},
    {"N417", "\\data\\labs\\7.htm"},       {"N58", "\\data\\labs\\8.htm"},
    {"N64", "\\data\\labs\\9.htm"},        {"N11", "\\data\\prak\\1.htm"},
    {"N22", "\\data\\prak\\2.htm"},        {"N31", "\\data\\prak\\3.htm"},
    {"N41", "\\data\\prak\\4.htm"},        {"N51", "\\data\\prak\\5.htm"},
    {"N61", "\\data\\prak\\6.htm"},        {"N71", "\\data\\prak\\7.htm"},
    {"N82", "\\data\\prak\\8.htm"},        {"N91", "\\data\\prak\\9.htm"},
    {"N101", "\\data\\prak\\10.htm"},      {"N115", "\\data\\prak\\11.htm"},
    {"N122", "\\data\\prak\\12.htm"},      {"N132", "\\data\\prak\\13.htm"},
    {"N142", "\\data\\prak\\14.htm"},      {"N152", "\\data\\prak\\15.htm"},
    {"N7", "\\data\\prak\\lit.htm"},       {"N12", "\\data\\prak\\RK.htm"},
    {"N16", "\\data\\prak\\TestRK.htm"},   {"N23", "\\data\\prak\\PerRK.htm"},
    {"N13", "\\data\\prak\\sillabus.htm"}, {"N14", "\\data\\info\\MU.htm"},
    {"N9", "\\data\\prak\\srm.htm"},       {"N10", "\\data\\prak\\VoprExam.htm"},
    {"N27", "\\data\\help\\sod.htm"},
};

QString expectedLocation(const char* document) {
    return QDir::currentPath() +
           QString::fromLatin1(document).replace(QLatin1Char('\\'), QLatin1Char('/'));
}

TEST_F(ShellTest, EveryDocumentCommandOpensItsDocumentOnTheDocumentScreen) {
    course.signIn(QStringLiteral("admin"), QStringLiteral("admin"));
    for (const DocumentCommand& command : documentCommands) {
        const QString item = QString::fromLatin1(command.item);
        auto* action = findIn<QAction>(*window, item);
        ASSERT_NE(action, nullptr) << command.item;
        setVisibleScreens({4, 7});
        view->navigations.clear();
        action->trigger();
        EXPECT_EQ(view->navigations, QStringList{expectedLocation(command.document)})
            << command.item;
        EXPECT_EQ(visibleScreens(), std::set<int>{1}) << command.item;
    }
}

TEST_F(ShellTest, CreatingTheWindowLoadsTheHelpPageWithoutShowingIt) {
    MainWindow fresh(RecordingDocumentView::factory());
    EXPECT_EQ(RecordingDocumentView::last()->navigations,
              QStringList{expectedLocation("\\data\\help\\sod.htm")});
    EXPECT_TRUE(findIn<QFrame>(fresh, "Panel1")->isVisibleTo(&fresh));
    EXPECT_FALSE(findIn<QFrame>(fresh, "Panel6")->isVisibleTo(&fresh));
}

TEST_F(ShellTest, TheSameCommandTwiceNavigatesTwice) {
    view->navigations.clear();
    trigger(QStringLiteral("N13"));
    trigger(QStringLiteral("N13"));
    EXPECT_EQ(view->navigations.size(), 2);
    EXPECT_EQ(view->navigations.at(0), view->navigations.at(1));
}

TEST_F(ShellTest, DocumentsAreFoundInTheCurrentDirectoryAtTheMomentOfTheCommand) {
    TempFolder other;
    view->navigations.clear();
    trigger(QStringLiteral("N10"));
    EXPECT_EQ(view->navigations,
              QStringList{other.path() + QStringLiteral("/data/prak/VoprExam.htm")});
}

TEST_F(ShellTest, RefusedNavigationIsShownAndLeavesTheDocumentScreen) {
    view->refusal = QStringLiteral("Navigation refused");
    setVisibleScreens({6});
    trigger(QStringLiteral("N9"));
    EXPECT_EQ(visibleScreens(), std::set<int>{1});
    ASSERT_EQ(MessageBoxes::shown().size(), 1);
    EXPECT_EQ(MessageBoxes::shown().at(0).kind, MessageBoxes::Kind::Error);
    EXPECT_EQ(MessageBoxes::shown().at(0).caption, QStringLiteral("ЭУИ Velmora"));
    EXPECT_EQ(MessageBoxes::shown().at(0).text, QStringLiteral("Navigation refused."));
}

TEST_F(ShellTest, AltLeftAndAltRightGoBackAndForwardInTheBrowser) {
    setVisibleScreens({1});
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Left, Qt::AltModifier);
    QTest::keyClick(view, Qt::Key_Left, Qt::AltModifier);
    QTest::keyClick(view, Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(view->backs, 2);
    EXPECT_EQ(view->forwards, 1);

    // A step the browser refuses is shown in the default error box, and the program goes on.
    view->refusal = QStringLiteral("Navigation refused");
    QTest::keyClick(view, Qt::Key_Left, Qt::AltModifier);
    QTest::keyClick(view, Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(course.boxTexts(),
              QStringList(2, QStringLiteral("ЭУИ Velmora: Navigation refused.")));
    view->refusal.reset();
    QTest::keyClick(view, Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(view->backs, 3);
}

TEST_F(ShellTest, TestItemsRememberTheirNameAndStartTheTest) {
    course.signIn(QStringLiteral("admin"), QStringLiteral("admin"));
    for (int n = 1; n <= 5; ++n) {
        const QString item = QStringLiteral("test%1").arg(n);
        MessageBoxes::clearShown();
        trigger(item);
        EXPECT_EQ(course.session().testName, item);
        // The course has no test files here: starting the test reports the missing one.
        ASSERT_EQ(MessageBoxes::shown().size(), 1) << n;
        EXPECT_TRUE(MessageBoxes::shown()[0].text.contains(item + QStringLiteral(".ini")));
    }
}

// The captions of the visible entries of the menu bar, or of one menu.
QStringList visibleCaptions(const QList<QAction*>& actions) {
    QStringList captions;
    for (const QAction* action : actions) {
        if (action->isVisible()) {
            captions.append(action->text());
        }
    }
    return captions;
}

struct MenuCase {
    const char* name;
    std::function<void(CourseDriver&)> enter;
    QStringList menuBar;
    QStringList administration; // visible entries of "Басқару"
};

// The window shows the state's menus: a test running hides the menus that hold tests and the
// progress command until its result is left.
TEST(MenusOffered, InEachStateTheWindowShowsTheStatesMenus) {
    const QString lectures = QStringLiteral("Дәрістер және тестілеу");
    const QString labs = QStringLiteral("Зертханалық жұмыстар");
    const QString practice = QStringLiteral("Тәжірибелік сабақтар");
    const QString control = QStringLiteral("Шеқара бақылау");
    const QString methodical = QStringLiteral("Әдістемелік материалдар");
    const QString admin = QStringLiteral("Басқару");
    const QString signInForm = QStringLiteral("Авторизация формаға");
    const QString help = QStringLiteral("Көмек");
    const QString exit = QStringLiteral("Шығу");
    const QString progress = QStringLiteral("Информация об успеваемости");
    const QStringList adminItems = {
        progress, QStringLiteral("Есеп"), QStringLiteral("Настройки администратора"),
        QStringLiteral("Тестті өзгерту"), QStringLiteral("Топ журналы")};
    const auto student = [](CourseDriver& c) {
        c.registerStudent(QStringLiteral("Ivan"), QStringLiteral("pw"));
        c.signIn(QStringLiteral("Ivan"), QStringLiteral("pw"));
    };
    const auto administrator = [](CourseDriver& c) {
        c.signIn(QStringLiteral("admin"), QStringLiteral("admin"));
    };
    const std::vector<MenuCase> cases = {
        {"before sign-in", [](CourseDriver&) {}, {methodical, signInForm, help, exit}, {progress}},
        {"student taking a test",
         [&](CourseDriver& c) {
             student(c);
             c.startTest(1);
         },
         {labs, practice, control, methodical, admin, help, exit},
         {}},
        {"administrator taking a test",
         [&](CourseDriver& c) {
             administrator(c);
             c.startTest(1);
         },
         {labs, practice, control, methodical, admin, help, exit},
         adminItems.mid(1)},
        {"student on the result",
         [&](CourseDriver& c) {
             student(c);
             c.startTest(1);
             c.answer(1);
         },
         {labs, practice, control, methodical, admin, help, exit},
         {}},
        {"test over",
         [&](CourseDriver& c) {
             student(c);
             c.passTest(1);
         },
         {lectures, labs, practice, control, methodical, admin, help, exit},
         {progress}},
    };
    for (const MenuCase& c : cases) {
        CourseDriver course;
        writeTestFile(QStringLiteral("test1"), numberedQuestions({1}), QStringLiteral("1"));
        MainWindow& w = course.start();
        c.enter(course);
        EXPECT_EQ(visibleCaptions(w.menuBar()->actions()), c.menuBar) << c.name;
        const auto* adm = w.menuBar()->findChild<QMenu*>(QStringLiteral("Nadm"));
        EXPECT_EQ(visibleCaptions(adm->actions()), c.administration) << c.name;
    }
}

TEST(DesignedMenu, LecturesAreOfferedOnlyByDesignBeforeTheWindowIsShown) {
    MainWindow w(RecordingDocumentView::factory());
    EXPECT_TRUE(findIn<QAction>(w, QStringLiteral("N0"))->isVisible());
    EXPECT_FALSE(findIn<QAction>(w, QStringLiteral("Nadm"))->isVisible());
    w.show();
    EXPECT_FALSE(findIn<QAction>(w, QStringLiteral("N0"))->isVisible());
}

TEST_F(ShellTest, DuringATestAMenuCommandLeavesTheTestAndOffersItsMenusAgain) {
    writeTestFile(QStringLiteral("test1"), numberedQuestions({1, 1}), QStringLiteral("2"));
    course.signIn(QStringLiteral("admin"), QStringLiteral("admin"));
    course.startTest(1);
    ASSERT_EQ(visibleScreens(), std::set<int>{3});
    ASSERT_FALSE(course.offered("N0"));
    trigger(QStringLiteral("N13"));
    EXPECT_EQ(visibleScreens(), std::set<int>{1});
    EXPECT_TRUE(course.offered("N0"));
    EXPECT_TRUE(course.offered("Ni"));
    // The test left is never scored again.
    course.answer(1);
    EXPECT_EQ(course.session().grades[1], 0);
}

TEST_F(ShellTest, SyllabusBeforeSignInThenBackToTheSignInForm) {
    trigger(QStringLiteral("N13"));
    EXPECT_EQ(visibleScreens(), std::set<int>{1});
    EXPECT_EQ(view->navigations.last(), expectedLocation("\\data\\prak\\sillabus.htm"));
    trigger(QStringLiteral("NaFormuAvtorizazii"));
    EXPECT_EQ(visibleScreens(), std::set<int>({1, 4}));
}

TEST_F(ShellTest, BackInMethodicalMaterialsOverTheSignInScreenChangesNothingSeen) {
    trigger(QStringLiteral("N17"));
    EXPECT_EQ(visibleScreens(), std::set<int>({1, 4}));
}

} // namespace
} // namespace velmora::test
