// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QLockFile>
#include <QString>
#include <optional>

namespace velmora {

// Reads the whole file. Without a value when it cannot be read; `error` then holds the system's
// error number.
std::optional<QByteArray> readWholeFile(const QString& path, int* error = nullptr);

// Replaces the file's content atomically: the new content is written to a temporary file in the
// same folder, flushed to disk and renamed over the old file, so that a crash at any moment, of the
// program or of the system, leaves either the old or the new file. A symbolic link is followed:
// the file it names is replaced, in that file's folder, and the link stays a link. A file without
// any write permission, or in a folder without one, counts as read-only and is never replaced.
// The new file keeps the old one's mode and owner group (as long as the writer belongs to that
// group; otherwise the write fails with EPERM, rather than leave a file that the others of the
// group can no longer write).
// Returns 0, or the system's error number; the file is then as it was.
// The caller holds the file's FileLock: temporary files that earlier rewrites of the file left
// when their writer was killed (".name.XXXXXX") are removed first, which is safe only because
// every writer of the file holds its lock while its own temporary file exists.
[[nodiscard]] int writeFileAtomically(const QString& linkOrFile, const QByteArray& content);

// Appends lines to the file, creating it when missing, and flushes it to disk. When the file does
// not end with a line break (a log saved by an editor without its last one), CR LF is written
// first, so the appended lines start a line of their own. The lock is a flock on the file itself,
// which is never replaced, so only a missing file needs a writable folder. A failed append cuts
// the file back to its old length, so no partial line is left. A file it makes takes the read and
// write bits and the group of `model` (the test log beside an answer log), or of its own folder
// when there is no such file, so that every user of a shared folder may append to it. Returns 0
// or the error number.
[[nodiscard]] int appendToFile(const QString& linkOrFile, const QByteArray& bytes,
                               const QString& model = QString());

// A cross-process lock on one data file, held for a read-modify-write. It lives in a sidecar file
// ("name.lock") because the data file itself is replaced by rename. On Unix it is a flock() on the
// sidecar: waiters queue in the kernel, and the lock goes free the moment its holder ends, however
// it ends. A holder removes the sidecar on release. A symbolic link is followed: the lock is the
// named file's. Where no sidecar can be made (a folder without write permission), the data file
// itself is locked, and the write that follows fails with its own message; without a data file
// either, the lock is refused (EACCES).
class FileLock {
public:
    explicit FileLock(const QString& filePath);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool held() const { return error_ == 0; }
    // The system's error number when the lock could not be taken.
    int error() const { return error_; }

private:
#ifdef Q_OS_UNIX
    void lockDataFile(const QString& target);

    QByteArray lockPath_;
    int fd_ = -1;
    bool ownsSidecar_ = false;
#else
    QLockFile lock_;
#endif
    int error_ = 0;
};

// True when the folder exists and may not be written (no write permission bit, or no access).
bool isReadOnlyFolder(const QString& folder);

// True when the file exists and may not be written (no write permission bit, or no access).
bool isReadOnlyFile(const QString& path);

} // namespace velmora
