// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/course/course_file.h"

#include <QString>
#include <vector>

namespace velmora {

// Every problem of a course folder, in the order `velmora-admin course check` prints them: those
// of its course.toml (a folder without one is checked as the shipped course, its problems
// warnings only, as the program shows such a folder whatever it holds), then warnings for links
// inside the course's HTML documents to files that do not exist and for documents under data/
// that no item and no link reaches.
std::vector<CourseProblem> checkCourseFolder(const QString& folder);

} // namespace velmora
