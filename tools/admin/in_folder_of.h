// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/storage/failure.h"

#include <QDir>
#include <QFileInfo>
#include <QString>

namespace velmora::admin {

// The store takes paths relative to the current directory, beginning with a backslash; a file
// named on the command line may be anywhere, so its folder becomes the current directory for the
// life of this object. A folder that cannot be entered is a failure: the store would otherwise
// use the file of the same name in the folder the command was started in.
class InFolderOf {
public:
    explicit InFolderOf(const QString& file)
        : previous_(QDir::currentPath()), name_(QStringLiteral("\\") + QFileInfo(file).fileName()) {
        const QString folder = QFileInfo(file).absolutePath();
        if (!QDir::setCurrent(folder)) {
            throw Failure(QStringLiteral("cannot enter the folder %1").arg(folder));
        }
    }
    ~InFolderOf() { QDir::setCurrent(previous_); }
    InFolderOf(const InFolderOf&) = delete;
    InFolderOf& operator=(const InFolderOf&) = delete;
    const QString& relative() const { return name_; }

private:
    QString previous_;
    QString name_;
};

} // namespace velmora::admin
