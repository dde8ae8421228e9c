// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace velmora {

// Paths of data files. The program finds every data file through the process's current
// directory, taken anew at each call. Paths are written with backslashes, as the course folder's
// layout is described ("\users.ini", "data\info\tumb.db"); they become the platform's separators
// here. File names are matched without regard to letter case: where a file or folder is missing
// under its exact name, the one entry of its folder whose name differs only in letter case serves.

// The text of the current directory. When the folder has been removed while the program runs, the
// system no longer gives its name (Qt's text is then empty, which would put every data file below
// the file system's root); the name it had serves instead, so that every file in it is missing and
// nothing is read or written anywhere else.
QString programFolder();

// The current directory's text followed directly by `relative` ("\users.ini").
QString programFolderPath(const QString& relative);

// A bare name opened against the current directory ("users", "data\info\tumb.db"), or an absolute
// path used as it stands.
QString openPath(const QString& name);

// The path with each missing component replaced by the single entry of its folder that differs
// only in letter case; components with no such entry (or several) are kept as written.
QString matchLetterCase(const QString& path);

} // namespace velmora
