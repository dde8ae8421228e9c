// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace velmora::test {

TempFolder::TempFolder() : previous_(QDir::currentPath()) {
    QDir::setCurrent(dir_.path());
}

TempFolder::TempFolder(const QString& parent)
    : dir_(parent + QStringLiteral("/course-XXXXXX")), previous_(QDir::currentPath()) {
    QDir::setCurrent(dir_.path());
}

TempFolder::~TempFolder() {
    QDir::setCurrent(previous_);
}

QByteArray TempFolder::read(const QString& name) const {
    QFile f(file(name));
    if (!f.open(QIODevice::ReadOnly)) {
        return {};
    }
    return f.readAll();
}

void TempFolder::write(const QString& name, const QByteArray& bytes) const {
    const QString path = file(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        f.write(bytes);
    }
}

bool ignoresPermissions() {
#ifdef Q_OS_UNIX
    return ::geteuid() == 0;
#else
    // Windows keeps no write bit on folders: a folder cannot be made read-only.
    return true;
#endif
}

} // namespace velmora::test
