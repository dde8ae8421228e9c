// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

namespace velmora {

// What a test can see of an atomic rewrite (writeFileAtomically) that a killed writer cannot
// show, since the page cache outlives the writer: the moment before the rename puts the new
// content under the file's name, with the number of times that content was synced to the disk.
// Nothing is called while no hook is set.
class RenameProbe {
public:
    using Hook = std::function<void(const QString& path, int dataSyncs)>;

    // Sets the hook (an empty one removes it); returns the hook it replaces.
    static Hook set(Hook hook);
    // Called by the rewrite of `path` just before its rename.
    static void beforeRename(const QString& path, int dataSyncs);
};

} // namespace velmora
