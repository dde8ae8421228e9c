// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/start_up.h"
#include "gui/kit/message_boxes.h"
#include "gui/windows/main_window.h"
#include "gui/windows/program_windows.h"
#include "support/recording_document_view.h"
#include "support/temp_folder.h"

#include <QApplication>
#include <QDir>
#include <gtest/gtest.h>

namespace velmora::test {
namespace {

int mainWindowsAlive() {
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        count += qobject_cast<MainWindow*>(widget) != nullptr ? 1 : 0;
    }
    return count;
}

class CourseStart : public ::testing::Test {
protected:
    void SetUp() override {
        MessageBoxes::setHeadless(true);
        MessageBoxes::clearShown();
    }
    TempFolder folder;
};

TEST_F(CourseStart, TypoInCourseFileShowsItsPlaceAndMakesNoWindow) {
    folder.write(QStringLiteral("help.htm"), "<p>help</p>");
    folder.write(QStringLiteral("course.toml"), R"([course]
id = "typo"
caption = "Курс с опечаткой"
help = "help.htm"

[[menu]]
captoin = "Лекции"
)");
    const auto windows = openProgramWindows(RecordingDocumentView::factory());
    EXPECT_EQ(windows, nullptr);
    EXPECT_EQ(mainWindowsAlive(), 0);
    ASSERT_EQ(MessageBoxes::shown().size(), 1);
    const MessageBoxes::Shown& box = MessageBoxes::shown().front();
    EXPECT_EQ(box.kind, MessageBoxes::Kind::Error);
    EXPECT_EQ(box.caption, applicationTitle());
    EXPECT_EQ(box.text, QStringLiteral("course.toml:7:1: неизвестный ключ «captoin»."));
    // Nothing written: the folder holds what it held.
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
              (QStringList{QStringLiteral("course.toml"), QStringLiteral("help.htm")}));
}

TEST_F(CourseStart, FolderWithoutCourseFileStartsTheShippedCourse) {
    const auto windows = openProgramWindows(RecordingDocumentView::factory());
    ASSERT_NE(windows, nullptr);
    EXPECT_TRUE(MessageBoxes::shown().isEmpty());
    EXPECT_EQ(mainWindowsAlive(), 1);
    EXPECT_EQ(windows->mainWindow().objectName(), QStringLiteral("Form1"));
}

} // namespace
} // namespace velmora::test
