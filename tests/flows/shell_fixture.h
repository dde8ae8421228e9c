#pragma once

#include "gui/kit/message_boxes.h"
#include "gui/windows/main_window.h"
#include "support/recording_document_view.h"
#include "support/temp_folder.h"

#include <QAction>
#include <QFrame>
#include <gtest/gtest.h>
#include <memory>
#include <set>

namespace velmora::test {

// A shown main window with a recording browser, in a fresh current directory.
class ShellTest : public ::testing::Test {
public:
    void SetUp() override {
        MessageBoxes::setHeadless(true);
        MessageBoxes::clearShown();
        // The files start-up reads, so that it has nothing to report.
        folder.write(QStringLiteral("users"), QByteArray());
        folder.write(QStringLiteral("data/info/tumb.db"), "admin|admin|report.txt\r\n");
        window = std::make_unique<MainWindow>(RecordingDocumentView::factory());
        view = RecordingDocumentView::last();
        window->show();
    }

    // Numbers of the visible screens.
    std::set<int> visibleScreens() const {
        std::set<int> numbers;
        for (int n : {1, 2, 3, 4, 6, 7}) {
            if (!window->panel(n)->isHidden()) {
                numbers.insert(n);
            }
        }
        return numbers;
    }

    void setVisibleScreens(const std::set<int>& numbers) const {
        for (int n : {1, 2, 3, 4, 6, 7}) {
            window->panel(n)->setVisible(numbers.count(n) > 0);
        }
    }

    void trigger(const QString& item) const {
        QAction* action = window->menuItem(item);
        ASSERT_NE(action, nullptr) << item.toStdString();
        action->trigger();
    }

    TempFolder folder;
    std::unique_ptr<MainWindow> window;
    RecordingDocumentView* view = nullptr;
};

} // namespace velmora::test
