// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QtGlobal>

namespace velmora::test {

// A small tmpfs mounted on a fresh folder for the life of the object, so that commands can meet a
// full disk. Mounting needs root; without it, or when the mount is refused, `mounted()` is false
// and `skipReason()` says why.
class SmallDisk {
public:
    explicit SmallDisk(qint64 bytes = qint64{64} * 1024);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return mounted_; }
    const QString& skipReason() const { return skipReason_; }
    QString path() const { return mountPoint_.path(); }

    // Fills the disk with a file of its own (outside any course folder made in it) until no block
    // is left, then gives back `room` bytes, in whole blocks, at that file's end. Returns the bytes
    // then free, as the file system counts them.
    qint64 fill(qint64 room = 0) const;
    qint64 freeBytes() const;
    // The file system's block: a file's last block holds whatever of it is not yet used.
    qint64 blockSize() const;

private:
    QTemporaryDir mountPoint_;
    bool mounted_ = false;
    QString skipReason_;
};

} // namespace velmora::test
