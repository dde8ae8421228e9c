// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace velmora::launch {

// The user's own course folder: $XDG_DATA_HOME/velmora/course, or ~/.local/share/velmora/course
// when XDG_DATA_HOME is unset, empty or not an absolute path (such values are to be ignored).
QString userCourseFolder(const QString& xdgDataHome, const QString& home);

// The installed course folder template, found from the folder that holds the launcher
// (<prefix>/bin), so an unpacked or relocated installation finds its own template.
QString installedTemplate(const QString& launcherFolder);

// Makes `target` a copy of `templateFolder` unless `target` already exists; an existing folder is
// never changed. The copy is made beside `target` under a temporary name and renamed into place,
// so a failed or concurrent first start never leaves a half-made folder. Returns true when it
// made the folder. Throws velmora::Failure when the template is missing or the copy fails.
bool createFromTemplate(const QString& templateFolder, const QString& target);

// Checks that a folder named on the command line is a course folder: an existing folder holding
// a "data" folder (any letter case). A missing or empty folder (say, a shared folder that is not
// mounted) is refused rather than filled, so grades never go to the wrong place. Returns its
// absolute path; throws velmora::Failure otherwise.
QString checkedCourseFolder(const QString& folder);

} // namespace velmora::launch
