// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/program/course_state.h"
#include "shell_fixture.h"

#include "gui/kit/screen_panel.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <functional>

namespace velmora::test {
namespace {

using Screens = std::set<int>;

TEST_F(ShellTest, FirstShownWithTheSignInScreenAlone) {
    EXPECT_EQ(visibleScreens(), Screens({4}));
    EXPECT_FALSE(stateOf(*window).session().signedIn);
}

TEST(DesignedScreens, MemoAndAdministratorScreensStartHidden) {
    MainWindow window(RecordingDocumentView::factory());
    EXPECT_FALSE(findIn<QFrame>(window, QStringLiteral("Panel%1").arg(1))->isHidden());
    EXPECT_FALSE(findIn<QFrame>(window, QStringLiteral("Panel%1").arg(2))->isHidden());
    EXPECT_FALSE(findIn<QFrame>(window, QStringLiteral("Panel%1").arg(3))->isHidden());
    EXPECT_FALSE(findIn<QFrame>(window, QStringLiteral("Panel%1").arg(4))->isHidden());
    EXPECT_TRUE(findIn<QFrame>(window, QStringLiteral("Panel%1").arg(6))->isHidden());
    EXPECT_TRUE(findIn<QFrame>(window, QStringLiteral("Panel%1").arg(7))->isHidden());
}

// Each command, from every starting set of screens, leaves the given screens visible.
struct ScreenCommand {
    const char* name;
    std::function<void(ShellTest&, MainWindow&)> run;
    // Visible screens after the command, as a function of those before.
    std::function<Screens(const Screens&)> after;
};

Screens only(int n) {
    return {n};
}

class ScreenTableTest : public ShellTest {
protected:
    void check(const ScreenCommand& command) {
        const std::vector<Screens> starts = {{4},    {1},    {2},    {3},    {6},    {7},
                                             {1, 4}, {1, 7}, {2, 7}, {3, 7}, {6, 7}, {1, 2, 3, 4}};
        for (const Screens& start : starts) {
            setVisibleScreens(start);
            command.run(*this, *window);
            EXPECT_EQ(visibleScreens(), command.after(start))
                << command.name << " from " << ::testing::PrintToString(start);
        }
    }
};

TEST_F(ScreenTableTest, EveryCommandSwitchesScreensAsTheTableSays) {
    const auto trig = [](const char* item) {
        return [item](ShellTest& t, MainWindow&) {
            findIn<QAction>(*t.window, QLatin1String(item))->trigger();
        };
    };
    const std::vector<ScreenCommand> table = {
        {"course document", trig("N13"), [](const Screens&) { return only(1); }},
        {"help contents", trig("N27"), [](const Screens&) { return only(1); }},
        {"progress information", trig("Ni"), [](const Screens&) { return only(2); }},
        {"test log", trig("N30"), [](const Screens&) { return only(6); }},
        {"administrator settings", trig("Ntun"), [](const Screens&) { return only(7); }},
        {"memo back",
         [](ShellTest&, MainWindow& w) {
             findIn<QFrame>(w, "Panel6")
                 ->findChild<QToolButton*>(QStringLiteral("SpeedButton5"))
                 ->click();
         },
         [](const Screens&) { return only(1); }},
        {"sign-in form", trig("NaFormuAvtorizazii"),
         [](Screens s) {
             s.insert(4);
             return s;
         }},
        {"methodical back", trig("N17"),
         [](Screens s) {
             s.erase(7);
             s.insert(1);
             return s;
         }},
    };
    for (const ScreenCommand& command : table) {
        check(command);
    }
}

// The screen seen at the centre of the client area, given which screens are visible.
int frontScreen(const MainWindow& window) {
    const QWidget* client = window.centralWidget();
    const QWidget* hit = client->childAt(client->rect().center());
    for (; hit != nullptr && hit != client; hit = hit->parentWidget()) {
        for (int n : {1, 2, 3, 4, 6, 7}) {
            if (hit == findIn<QFrame>(window, QStringLiteral("Panel%1").arg(n))) {
                return n;
            }
        }
    }
    return 0;
}

TEST_F(ShellTest, StackingOrderFrontToBack) {
    const std::vector<int> frontToBack = {4, 7, 6, 1, 3, 2};
    Screens visible(frontToBack.begin(), frontToBack.end());
    for (int expected : frontToBack) {
        setVisibleScreens(visible);
        EXPECT_EQ(frontScreen(*window), expected);
        visible.erase(expected);
    }
}

TEST_F(ShellTest, ScreensFillTheClientAreaExceptTheProgressScreen) {
    const QWidget* client = window->centralWidget();
    for (const QSize size : {QSize(934, 746), QSize(1200, 900), QSize(700, 500)}) {
        window->centralWidget()->resize(size);
        for (int n : {1, 3, 4, 6, 7}) {
            EXPECT_EQ(findIn<QFrame>(*window, QStringLiteral("Panel%1").arg(n))->geometry(),
                      client->rect())
                << "Panel" << n;
        }
        EXPECT_EQ(findIn<QFrame>(*window, QStringLiteral("Panel%1").arg(2))->geometry(),
                  QRect(0, -8, 921, 745));
    }
}

TEST_F(ShellTest, ScreenContentFillsThePanelInsideTheBevels) {
    auto* content = new QWidget;
    findIn<ScreenPanel>(*window, "Panel7")->setContent(content);
    EXPECT_EQ(content->parentWidget(), findIn<QFrame>(*window, "Panel7"));
    window->centralWidget()->resize(800, 600);
    EXPECT_EQ(content->geometry(), QRect(2, 2, 796, 596));
}

TEST_F(ShellTest, MemoScreenHoldsMemo2BehindTheBackButton) {
    auto* back =
        findIn<QFrame>(*window, "Panel6")->findChild<QToolButton*>(QStringLiteral("SpeedButton5"));
    ASSERT_NE(back, nullptr);
    setVisibleScreens({6});
    const QPoint onButton = back->geometry().center();
    EXPECT_EQ(findIn<QFrame>(*window, "Panel6")->childAt(onButton), back);
}

TEST_F(ShellTest, Button2IsNeverVisible) {
    setVisibleScreens({1});
    EXPECT_FALSE(findIn<QPushButton>(*window, "Button2")->isVisible());
}

} // namespace
} // namespace velmora::test
