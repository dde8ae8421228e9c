// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's screens and its menu bar in each menu state, compared with reviewed dumps.

#include "gui/kit/message_boxes.h"
#include "gui/windows/main_window.h"
#include "support/recording_document_view.h"
#include "support/temp_folder.h"
#include "support/widget_tree.h"

#include <QMenuBar>
#include <gtest/gtest.h>

namespace velmora::test {
namespace {

class MainWindowLayout : public ::testing::Test {
protected:
    MainWindowLayout() {
        MessageBoxes::setHeadless(true);
        // The files start-up reads, so that it has nothing to report.
        folder.write(QStringLiteral("users"), QByteArray());
        folder.write(QStringLiteral("data/info/tumb.db"), "admin|admin|report.txt\r\n");
    }

    TempFolder folder;
    MainWindow window{RecordingDocumentView::factory()};
};

TEST_F(MainWindowLayout, ScreensAsFirstShown) {
    window.show();
    expectMatchesGolden(QStringLiteral("main_window"), dumpWidgetTree(&window));
}

TEST_F(MainWindowLayout, MenuBarAsDesignedBeforeTheWindowIsShown) {
    expectMatchesGolden(QStringLiteral("main_window_menu_design"),
                        dumpWidgetTree(window.menuBar()));
}

TEST_F(MainWindowLayout, MenuBarInEachStateOnceShown) {
    window.show();
    const std::pair<MenuState, const char*> states[] = {
        {MenuState::BeforeSignIn, "before_sign_in"},
        {MenuState::Student, "student"},
        {MenuState::Administrator, "administrator"},
    };
    for (const auto& [state, name] : states) {
        window.setMenuState(state);
        expectMatchesGolden(QStringLiteral("main_window_menu_") + QLatin1String(name),
                            dumpWidgetTree(window.menuBar()));
    }
}

} // namespace
} // namespace velmora::test
