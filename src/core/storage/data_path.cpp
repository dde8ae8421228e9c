// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/storage/data_path.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_LINUX
#include <climits>
#include <unistd.h>
#endif

namespace velmora {
namespace {

QString withSlashes(QString path) {
    return path.replace(QLatin1Char('\\'), QLatin1Char('/'));
}

// The entry of `folder` named like `name` but for letter case, when there is exactly one.
QString caseVariant(const QString& folder, const QString& name) {
    const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden |
                                                       QDir::System | QDir::NoDotAndDotDot);
    QString found;
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0) {
            if (!found.isEmpty()) {
                return {};
            }
            found = entry;
        }
    }
    return found;
}

} // namespace

QString matchLetterCase(const QString& path) {
    if (path.isEmpty() || QFileInfo::exists(path)) {
        return path;
    }
    const QStringList parts = path.split(QLatin1Char('/'));
    QString built = parts.first(); // "" for an absolute path, else the first name
    qsizetype i = 1;
    if (!built.isEmpty() && !QFileInfo::exists(built)) {
        const QString variant = caseVariant(QStringLiteral("."), built);
        if (!variant.isEmpty()) {
            built = variant;
        }
    }
    for (; i < parts.size(); ++i) {
        const QString& part = parts[i];
        const QString folder = built.isEmpty() ? QStringLiteral("/") : built;
        QString next = built + QLatin1Char('/') + part;
        if (!part.isEmpty() && !QFileInfo::exists(next)) {
            const QString variant = caseVariant(folder, part);
            if (!variant.isEmpty()) {
                next = built + QLatin1Char('/') + variant;
            }
        }
        built = next;
    }
    return built;
}

QString programFolder() {
    QString folder = QDir::currentPath();
    if (!folder.isEmpty()) {
        return folder;
    }
#ifdef Q_OS_LINUX
    char target[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/cwd", target, sizeof target);
    if (n > 0) {
        QString named = QFile::decodeName(QByteArray(target, n));
        const QString removed = QStringLiteral(" (deleted)");
        if (named.endsWith(removed)) {
            named.chop(removed.size());
        }
        if (named.startsWith(QLatin1Char('/'))) {
            return named;
        }
    }
#endif
    return QStringLiteral(".");
}

QString programFolderPath(const QString& relative) {
    return matchLetterCase(programFolder() + withSlashes(relative));
}

QString openPath(const QString& name) {
    const QString path = withSlashes(name);
    if (QDir::isAbsolutePath(path)) {
        return matchLetterCase(path);
    }
    return matchLetterCase(programFolder() + QLatin1Char('/') + path);
}

} // namespace velmora
