// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace velmora {

// Saves a file the user named (a CSV file, say) whole: under the file's lock, replaced atomically
// (see writeFileAtomically), so that another copy of the program saving the same file at the same
// moment, or a crash, leaves one whole file. Throws the failure "Cannot create file "%s". %s" with
// the system's reason when the file cannot be locked or written; the file is then as it was.
void saveFile(const QString& path, const QByteArray& content);

} // namespace velmora
