// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QCryptographicHash>
#include <QString>

namespace velmora {

// Eight hexadecimal digits of a hash of a test file's bytes: whether it is still the same file.
inline QString testFingerprint(const QByteArray& fileBytes) {
    return QString::fromLatin1(
        QCryptographicHash::hash(fileBytes, QCryptographicHash::Sha1).left(4).toHex());
}

} // namespace velmora
