// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/course_driver.h"
#include "support/temp_folder.h"

#include <QStringList>
#include <functional>
#include <vector>

namespace velmora::test {

// A command of the program as the reliability tables run it: through the main window's controls
// and menu, or, for the log line and the source conversion, through the logic the handler calls
// inside the same handler guard. The course is the one prepareCourse makes.
struct Command {
    const char* name;
    QStringList files; // the files the command reads or writes
    std::function<void(CourseDriver&)> run;
};

const std::vector<Command>& courseCommands();
const Command& commandNamed(const char* name);

// What a command did: the message boxes shown ("caption: text") and the files below the course
// folder it changed, made or removed.
struct Outcome {
    QStringList boxes;
    QStringList changed;
};

// Runs the command on the course folder in a fresh main window. Except for the start-up itself,
// the window is shown first and what its start-up showed is forgotten; `stage` then runs (to sign
// in or fill the disk, say), and its boxes are forgotten too, just before the folder's state is
// taken.
Outcome runCommand(const TempFolder& folder, const char* command,
                   const std::function<void(CourseDriver&)>& stage = {});

// The texts with "%1" replaced by the folder's path.
QStringList inFolder(const QStringList& texts, const TempFolder& folder);

} // namespace velmora::test
