// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/kit/message_boxes.h"
#include "gui/windows/about_author_window.h"
#include "gui/windows/about_program_dialog.h"
#include "gui/windows/main_window.h"
#include "gui/windows/program_windows.h"
#include "gui/windows/title_page.h"
#include "support/course_driver.h"
#include "support/recording_document_view.h"
#include "support/temp_folder.h"
#include "support/widget_tree.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace velmora::test {
namespace {

class StartUpTest : public ::testing::Test {
protected:
    void SetUp() override { MessageBoxes::setHeadless(true); }

    TempFolder folder;
    ProgramWindows windows{RecordingDocumentView::factory()};
};

TEST_F(StartUpTest, FiveWindowsCreatedNoneVisible) {
    EXPECT_EQ(windows.mainWindow().objectName(), QStringLiteral("Form1"));
    EXPECT_EQ(windows.scramblingTool().objectName(), QStringLiteral("Form2"));
    EXPECT_EQ(windows.titlePage().objectName(), QStringLiteral("Form3"));
    EXPECT_EQ(windows.aboutProgram().objectName(), QStringLiteral("OKRightDlg"));
    EXPECT_EQ(windows.aboutAuthor().objectName(), QStringLiteral("Form5"));
    EXPECT_FALSE(windows.mainWindow().isVisible());
    EXPECT_FALSE(windows.scramblingTool().isVisible());
    EXPECT_FALSE(windows.titlePage().isVisible());
    EXPECT_FALSE(windows.aboutProgram().isVisible());
    EXPECT_FALSE(windows.aboutAuthor().isVisible());
    // The main window was created first: its browser already loads the help contents page.
    EXPECT_EQ(RecordingDocumentView::last()->navigations,
              QStringList{QDir::currentPath() + QStringLiteral("/data/help/sod.htm")});
}

TEST(TitlePageLayout, MatchesTheReviewedDump) {
    TitlePage page(nullptr);
    page.show();
    expectMatchesGolden(QStringLiteral("title_page"), dumpWidgetTree(&page));
}

TEST_F(StartUpTest, TitlePageTimerRunsFromCreation) {
    const TitlePage& page = windows.titlePage();
    EXPECT_EQ(page.timer1()->interval(), 3000);
    EXPECT_TRUE(page.timer1()->isActive());
}

TEST_F(StartUpTest, TimerClosesTheTitlePageAfterThreeSecondsAndShowsTheMainWindow) {
    QElapsedTimer clock;
    clock.start();
    bool mainShownDuringTitle = true;
    bool builtDuringTitle = false;
    QTimer::singleShot(200, [&] {
        mainShownDuringTitle = windows.mainWindow().isVisible();
        // The hidden windows' controls are built once the title page is on the screen.
        builtDuringTitle =
            windows.mainWindow().findChild<QWidget*>(QStringLiteral("signInScreen")) != nullptr &&
            windows.scramblingTool().findChild<QWidget*>(QStringLiteral("Edit9")) != nullptr;
    });
    windows.showTitlePage();
    const qint64 elapsed = clock.elapsed();
    EXPECT_GE(elapsed, 2800);
    EXPECT_FALSE(mainShownDuringTitle);
    EXPECT_TRUE(builtDuringTitle);
    EXPECT_FALSE(windows.titlePage().isVisible());
    EXPECT_TRUE(windows.mainWindow().isVisible());
    // FormShow ran: the sign-in screen is in front and the course menus are hidden.
    EXPECT_TRUE(findIn<QFrame>(windows.mainWindow(), "Panel4")->isVisible());
    EXPECT_FALSE(findIn<QFrame>(windows.mainWindow(), "Panel1")->isVisible());
    EXPECT_FALSE(findIn<QAction>(windows.mainWindow(), "N0")->isVisible());
    EXPECT_TRUE(findIn<QAction>(windows.mainWindow(), "N8")->isVisible());
}

TEST_F(StartUpTest, EarlyCloseShowsTheMainWindowAtOnceAndTheLaterTickChangesNothing) {
    QSignalSpy ticks(windows.titlePage().timer1(), &QTimer::timeout);
    QTimer::singleShot(100, [&] { windows.titlePage().close(); });
    QElapsedTimer clock;
    clock.start();
    windows.showTitlePage();
    EXPECT_LT(clock.elapsed(), 2500);
    EXPECT_TRUE(windows.mainWindow().isVisible());
    findIn<QFrame>(windows.mainWindow(), "Panel6")->show();
    QTest::qWait(3300);
    EXPECT_EQ(ticks.count(), 0);
    EXPECT_TRUE(windows.mainWindow().isVisible());
    EXPECT_FALSE(windows.titlePage().isVisible());
    EXPECT_TRUE(findIn<QFrame>(windows.mainWindow(), "Panel6")->isVisible());
}

TEST_F(StartUpTest, EscDoesNotCloseTheTitlePage) {
    bool stillOpenAfterEsc = false;
    QTimer::singleShot(100, [&] {
        QTest::keyClick(&windows.titlePage(), Qt::Key_Escape);
        stillOpenAfterEsc = windows.titlePage().isVisible();
        windows.titlePage().close();
    });
    windows.showTitlePage();
    EXPECT_TRUE(stillOpenAfterEsc);
    EXPECT_TRUE(windows.mainWindow().isVisible());
}

} // namespace
} // namespace velmora::test
