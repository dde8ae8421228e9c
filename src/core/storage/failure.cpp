// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/storage/failure.h"
#include "core/storage/system_reason.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>

namespace velmora {

Failure::Failure(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}

namespace failures {

Failure invalidInteger(const QString& text) {
    return Failure(QStringLiteral("'%1' is not a valid integer value").arg(text));
}

Failure cannotOpenFile(const QString& path, int errorNumber) {
    return Failure(
        QStringLiteral("Cannot open file \"%1\". %2").arg(path, systemReason(errorNumber)));
}

Failure cannotCreateFile(const QString& path, int errorNumber) {
    return Failure(
        QStringLiteral("Cannot create file \"%1\". %2").arg(path, systemReason(errorNumber)));
}

Failure unableToWrite(const QString& path) {
    return Failure(QStringLiteral("Unable to write to %1").arg(path));
}

QString ioErrorText(int errorNumber, const QString& path) {
    switch (errorNumber) {
    case ENOENT: {
        const QFileInfo info(path);
        const bool folderThere = info.absoluteDir().exists();
        return folderThere ? QStringLiteral("File not found") : QStringLiteral("Invalid filename");
    }
    case ENOTDIR:
    case ENAMETOOLONG:
        return QStringLiteral("Invalid filename");
    case EACCES:
    case EPERM:
    case EROFS:
    // A folder where a data file belongs cannot be opened as one; the user is told so plainly
    // rather than with a bare error number.
    case EISDIR:
        return QStringLiteral("File access denied");
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return QStringLiteral("Disk full");
    default:
        return QStringLiteral("I/O error %1").arg(errorNumber);
    }
}

Failure ioError(int errorNumber, const QString& path) {
    return Failure(ioErrorText(errorNumber, path));
}

} // namespace failures

QString errorBoxText(const QString& message) {
    if (!message.isEmpty() && message.back() > QLatin1Char('.')) {
        return message + QLatin1Char('.');
    }
    return message;
}

} // namespace velmora
