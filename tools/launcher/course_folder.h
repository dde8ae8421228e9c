// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/course/course_book.h"

#include <QString>
#include <QStringList>

namespace velmora::launch {

// Where an installation keeps its parts: under a Unix prefix (<prefix>/bin, <prefix>/share) or in
// one Windows program folder.
enum class Layout { Unix, Windows };
#ifdef Q_OS_WIN
inline constexpr Layout hostLayout = Layout::Windows;
#else
inline constexpr Layout hostLayout = Layout::Unix;
#endif

// The environment variable naming the base of the user's own folders: XDG_DATA_HOME or APPDATA.
const char* userDataVariable(Layout layout = hostLayout);

// The user's own course folder. Unix: $XDG_DATA_HOME/velmora/course, or
// ~/.local/share/velmora/course when XDG_DATA_HOME is unset, empty or not an absolute path (such
// values are to be ignored). Windows: %APPDATA%\velmora\course, or the home folder's
// AppData\Roaming when APPDATA is not an absolute path.
// `course` names the folder below velmora/: "course" for the shipped course, an installed
// course's id for that course (~/.local/share/velmora/<id>).
QString userCourseFolder(const QString& userData, const QString& home, Layout layout = hostLayout,
                         const QString& course = reservedCourseId());

// The installed course folder template, found from the folder that holds the launcher
// (<prefix>/bin, or the Windows program folder), so an unpacked or relocated installation finds
// its own template.
QString installedTemplate(const QString& launcherFolder, Layout layout = hostLayout);

// The folder of the courses installed apart from the program, one folder per course named by its
// id: <prefix>/share/velmora/courses, or "courses" in the Windows program folder.
QString installedCourses(const QString& launcherFolder, Layout layout = hostLayout);

// The ids of the courses installed in `coursesFolder` (each a folder holding course.toml), sorted.
QStringList installedCourseIds(const QString& coursesFolder);

// The installed course `id` of `coursesFolder`; throws velmora::Failure naming the installed
// ones when there is no such course.
QString installedCourse(const QString& coursesFolder, const QString& id);

// True when the folder is a course folder: it holds a "data" folder (any letter case). A launcher
// that sits in one (a course copied with its program, say to a flash drive) starts the program
// there rather than in the user's own folder.
bool isCourseFolder(const QString& folder);

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
