// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

class QWidget;

namespace velmora::test {

class CourseDriver;

// Called with a window, or the main window in one state, and words saying where it is.
using StateVisit = std::function<void(const QWidget& root, const char* where)>;

// Walks the main window through the states a student and the teacher meet: sign-in, a document
// with and without the find bar, a test whose answers run to several lines, the progress screen,
// the administrator's screens and settings, the test log, the user list, and both tabs of the
// group journal. `course` is not started yet; the walk writes what it needs into its folder.
void walkEveryState(CourseDriver& course, const StateVisit& visit);

// Shows each of the other windows in turn (title page, about windows, scrambling tool) and visits
// it.
void walkOtherWindows(const StateVisit& visit);

} // namespace velmora::test
