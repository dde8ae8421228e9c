// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace velmora {

// The program's per-user folders (the search index's cache, settings) are named after its id,
// "velmora", on every system (QStandardPaths: "~/.cache/velmora" here, "%LOCALAPPDATA%\velmora"
// on Windows); its windows keep their captions ("ЭУИ Velmora"), which name no folder.
class ProgramFolders {
public:
    static QString programId();
    // Names the application after the id; the cache an earlier version kept under the caption
    // is moved over once. Call after the application object is made, before any folder is used.
    static void nameApplication();
    // Moves what the folder `from` holds into `to`, except what `to` already holds, and removes
    // `from` with whatever is left in it: it held nothing that cannot be made again. Nothing
    // happens when `from` does not exist.
    static void moveCache(const QString& from, const QString& to);
};

} // namespace velmora
