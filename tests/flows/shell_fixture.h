// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/course_driver.h"

#include <QAction>
#include <QFrame>
#include <QPointer>
#include <gtest/gtest.h>
#include <set>

namespace velmora::test {

// A started main window of the course driver, under the names the shell's tests use.
class ShellTest : public ::testing::Test {
public:
    void SetUp() override {
        window = &course.start();
        view = &course.documentView();
    }

    std::set<int> visibleScreens() const { return course.visibleScreens(); }
    void setVisibleScreens(const std::set<int>& numbers) const {
        course.setVisibleScreens(numbers);
    }
    void trigger(const QString& item) const { course.choose(item); }

    CourseDriver course;
    QPointer<MainWindow> window;
    RecordingDocumentView* view = nullptr;
};

} // namespace velmora::test
