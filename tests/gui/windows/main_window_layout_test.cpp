// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's screens and its menu bar in each menu state, compared with reviewed dumps.

#include "gui/kit/message_boxes.h"
#include "gui/windows/main_window.h"
#include "support/course_driver.h"
#include "support/recording_document_view.h"
#include "support/temp_folder.h"
#include "support/widget_tree.h"

#include <QMenuBar>
#include <functional>
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

// The menu bar before sign-in, for a student with every test passed (nothing locked), and for the
// administrator.
TEST(MainWindowMenus, MenuBarInEachStateOnceShown) {
    CourseDriver course;
    course.storeStudent(QStringLiteral("Ivan"), QStringLiteral("pw"), QList<int>(12, 5));
    const std::pair<std::function<void()>, const char*> states[] = {
        {[] {}, "before_sign_in"},
        {[&] { course.signIn(QStringLiteral("Ivan"), QStringLiteral("pw")); }, "student"},
        {[&] {
             course.choose("NaFormuAvtorizazii");
             course.signIn(QStringLiteral("admin"), QStringLiteral("admin"));
         },
         "administrator"},
    };
    MainWindow& window = course.start();
    for (const auto& [enter, name] : states) {
        enter();
        expectMatchesGolden(QStringLiteral("main_window_menu_") + QLatin1String(name),
                            dumpWidgetTree(window.menuBar()));
    }
}

} // namespace
} // namespace velmora::test
