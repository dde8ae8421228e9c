// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/program/program_folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace velmora {
namespace {

// The name earlier versions gave the application, and so their folders: the windows' caption.
QString earlierName() {
    return QStringLiteral("ЭУИ Velmora");
}

QString cacheFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
}

} // namespace

QString ProgramFolders::programId() {
    return QStringLiteral("velmora");
}

void ProgramFolders::nameApplication() {
    QCoreApplication::setApplicationName(earlierName());
    const QString earlier = cacheFolder();
    QCoreApplication::setApplicationName(programId());
    const QString now = cacheFolder();
    if (!earlier.isEmpty() && !now.isEmpty() && earlier != now) {
        moveCache(earlier, now);
    }
}

void ProgramFolders::moveCache(const QString& from, const QString& to) {
    QDir source(from);
    if (!source.exists()) {
        return;
    }
    // The whole folder at once where it can go; one entry at a time beside what is there.
    QDir().mkpath(QFileInfo(to).absolutePath());
    if (!QFileInfo::exists(to) && QDir().rename(from, to)) {
        return;
    }
    QDir().mkpath(to);
    const QDir target(to);
    for (const QString& name :
         source.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        if (!QFileInfo::exists(target.filePath(name))) {
            QDir().rename(source.filePath(name), target.filePath(name));
        }
    }
    source.removeRecursively();
}

} // namespace velmora
