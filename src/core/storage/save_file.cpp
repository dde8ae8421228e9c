// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/storage/save_file.h"

#include "core/storage/failure.h"
#include "core/storage/safe_file.h"

namespace velmora {

void saveFile(const QString& path, const QByteArray& content) {
    const FileLock lock(path);
    if (!lock.held()) {
        throw failures::cannotCreateFile(path, lock.error());
    }
    if (const int error = writeFileAtomically(path, content); error != 0) {
        throw failures::cannotCreateFile(path, error);
    }
}

} // namespace velmora
