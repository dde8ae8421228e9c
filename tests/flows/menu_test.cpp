// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell_fixture.h"

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
    window->setMenuState(MenuState::Administrator);
    for (const DocumentCommand& command : documentCommands) {
        const QString item = QString::fromLatin1(command.item);
        QAction* action = window->menuItem(item);
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
    EXPECT_TRUE(fresh.documentScreen()->isVisibleTo(&fresh));
    EXPECT_FALSE(fresh.memoScreen()->isVisibleTo(&fresh));
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
    window->showScreen(window->documentScreen());
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
    window->setMenuState(MenuState::Student);
    for (int n = 1; n <= 5; ++n) {
        const QString item = QStringLiteral("test%1").arg(n);
        MessageBoxes::clearShown();
        trigger(item);
        EXPECT_EQ(window->session().testName, item);
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
    std::function<void(MainWindow&)> enter;
    QStringList menuBar;
    QStringList administration; // visible entries of "Басқару"
};

TEST_F(ShellTest, MenusOfferedInEachState) {
    const QString lectures = QStringLiteral("Дәрістер және тестілеу");
    const QString labs = QStringLiteral("Зертханалық жұмыстар");
    const QString practice = QStringLiteral("Тәжірибелік сабақтар");
    const QString control = QStringLiteral("Шеқара бақылау");
    const QString methodical = QStringLiteral("Әдістемелік материалдар");
    const QString admin = QStringLiteral("Басқару");
    const QString help = QStringLiteral("Көмек");
    const QString exit = QStringLiteral("Шығу");
    const QString progress = QStringLiteral("Информация об успеваемости");
    const QStringList adminItems = {
        progress, QStringLiteral("Есеп"), QStringLiteral("Настройки администратора"),
        QStringLiteral("Тестті өзгерту"), QStringLiteral("Топ журналы")};
    const std::vector<MenuCase> cases = {
        {"student taking a test",
         [](MainWindow& w) {
             w.setMenuState(MenuState::Student);
             w.setTestMenusHidden(true);
         },
         {labs, practice, control, methodical, admin, help, exit},
         {}},
        {"administrator taking a test",
         [](MainWindow& w) {
             w.setMenuState(MenuState::Administrator);
             w.setTestMenusHidden(true);
         },
         {labs, practice, control, methodical, admin, help, exit},
         adminItems.mid(1)},
        {"test over",
         [](MainWindow& w) {
             w.setMenuState(MenuState::Student);
             w.setTestMenusHidden(true);
             w.setTestMenusHidden(false);
         },
         {lectures, labs, practice, control, methodical, admin, help, exit},
         {progress}},
    };
    for (const MenuCase& c : cases) {
        MainWindow w(RecordingDocumentView::factory());
        w.show();
        c.enter(w);
        EXPECT_EQ(visibleCaptions(w.menuBar()->actions()), c.menuBar) << c.name;
        const auto* adm = w.menuBar()->findChild<QMenu*>(QStringLiteral("Nadm"));
        EXPECT_EQ(visibleCaptions(adm->actions()), c.administration) << c.name;
    }
}

TEST(DesignedMenu, LecturesAreOfferedOnlyByDesignBeforeTheWindowIsShown) {
    MainWindow w(RecordingDocumentView::factory());
    EXPECT_TRUE(w.menuItem(QStringLiteral("N0"))->isVisible());
    EXPECT_FALSE(w.menuItem(QStringLiteral("Nadm"))->isVisible());
    w.show();
    EXPECT_FALSE(w.menuItem(QStringLiteral("N0"))->isVisible());
}

TEST_F(ShellTest, DuringATestAMenuCommandLeavesTheTestScreen) {
    window->setMenuState(MenuState::Student);
    window->setTestMenusHidden(true);
    window->showScreen(window->testScreen());
    trigger(QStringLiteral("N13"));
    EXPECT_EQ(visibleScreens(), std::set<int>{1});
    EXPECT_FALSE(window->menuItem(QStringLiteral("N0"))->isVisible());
    EXPECT_FALSE(window->menuItem(QStringLiteral("Ni"))->isVisible());
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
