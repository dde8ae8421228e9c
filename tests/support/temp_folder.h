// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace velmora::test {

// A fresh folder made the current directory for the life of the object; the previous current
// directory comes back afterwards.
class TempFolder {
public:
    TempFolder();
    // The folder inside `parent` (a small disk, for instance) rather than in the system's
    // temporary folder.
    explicit TempFolder(const QString& parent);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }
    QByteArray read(const QString& name) const;
    void write(const QString& name, const QByteArray& bytes) const;

private:
    QTemporaryDir dir_;
    QString previous_;
};

// True when the process can ignore file permissions (root), so permission-based cases must be
// staged differently.
bool ignoresPermissions();

} // namespace velmora::test
