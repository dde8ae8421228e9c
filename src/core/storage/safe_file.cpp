// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/storage/safe_file.h"

#include "core/storage/rename_probe.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include "core/storage/windows_file.h"

#include <QDeadlineTimer>
#include <QThread>
#endif

namespace velmora {
namespace {

#ifndef Q_OS_UNIX
constexpr int kLockWaitMs = 15000;
constexpr int kStaleLockMs = 10000;
constexpr int kLockRetryMs = 10;
#endif

QByteArray nativePath(const QString& path) {
    return QFile::encodeName(path);
}

// More links in a row than this are taken as a loop; the last name is then used as it is.
constexpr int kMaxLinkHops = 40;

// The file that a write of `path` changes: a symbolic link is followed (through any chain of
// links) to the file it names, so that the link stays a link and the copy it names, which may be
// shared with other course folders, is the one rewritten.
QString writeTarget(const QString& path) {
    QString target = path;
    for (int hops = 0; hops < kMaxLinkHops; ++hops) {
        const QFileInfo info(target);
        if (!info.isSymLink() || info.symLinkTarget().isEmpty()) {
            break;
        }
        target = info.symLinkTarget();
    }
    return target;
}

// What an append writes before its lines so that they start a line of their own, after the last
// byte `last` of the file: nothing after a line feed, the line feed that completes a lone CR, and
// CR LF after any other byte (a log saved by an editor without its last line break).
QByteArray lineBreakAfter(char last) {
    if (last == '\n') {
        return {};
    }
    return last == '\r' ? QByteArray("\n") : QByteArray("\r\n");
}

#ifdef Q_OS_UNIX
// POSIX calls by hand rather than QSaveFile: the user's messages depend on the exact error
// number ("Disk full", "File access denied", ...), which QSaveFile does not report.
int writeAll(int fd, const QByteArray& content) {
    const char* p = content.constData();
    qsizetype left = content.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(left));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        p += n;
        left -= n;
    }
    return 0;
}

int flockRetrying(int fd, int operation) {
    while (::flock(fd, operation) != 0) {
        if (errno != EINTR) {
            return errno;
        }
    }
    return 0;
}

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The name of a rewrite's temporary file: ".name." and the six letters or digits mkstemp puts
// in place of "XXXXXX".
constexpr int kTempLetters = 6;

QByteArray temporaryPrefix(const QFileInfo& info) {
    return '.' + nativePath(info.fileName()) + '.';
}

bool isTemporaryOf(const char* entry, const QByteArray& prefix) {
    const auto length = static_cast<qsizetype>(std::strlen(entry));
    if (length != prefix.size() + kTempLetters ||
        std::strncmp(entry, prefix.constData(), static_cast<size_t>(prefix.size())) != 0) {
        return false;
    }
    return std::all_of(entry + prefix.size(), entry + length, [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    });
}

// Removes the temporary files that rewrites of the file cut short (their writer killed) left in
// its folder. Only a holder of the file's lock may call it: every writer holds the lock while its
// temporary file exists, so none of them belongs to a write still running.
void removeStaleTemporaries(const QFileInfo& info) {
    const QByteArray folder = nativePath(info.absolutePath());
    DIR* dir = ::opendir(folder.constData());
    if (dir == nullptr) {
        return;
    }
    const QByteArray prefix = temporaryPrefix(info);
    // NOLINTNEXTLINE(concurrency-mt-unsafe): the stream is this call's own
    while (const dirent* entry = ::readdir(dir)) {
        if (isTemporaryOf(entry->d_name, prefix)) {
            // unlink never removes a folder, so only a file of that name goes.
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
        }
    }
    ::closedir(dir);
}

// Gives the open file the group `group` unless it has it already (-1: any group will do). A
// user may give a file only a group they belong to; the error is then EPERM.
int giveGroup(int fd, gid_t group) {
    struct stat st {};
    if (group == static_cast<gid_t>(-1) || (::fstat(fd, &st) == 0 && st.st_gid == group)) {
        return 0;
    }
    return ::fchown(fd, static_cast<uid_t>(-1), group) == 0 ? 0 : errno;
}

// A file an append makes takes the read and write bits and the group of `model`, or of its
// own folder when `model` is empty or missing, so that a log made by one user of a shared folder
// is open to the others as the files beside it are. A group the user is not in is not given.
void takeModeAndGroup(int fd, const QString& path, const QString& model) {
    struct stat st {};
    if (model.isEmpty() || ::stat(nativePath(model).constData(), &st) != 0 ||
        !S_ISREG(st.st_mode)) {
        if (::stat(nativePath(QFileInfo(path).absolutePath()).constData(), &st) != 0) {
            return;
        }
    }
    giveGroup(fd, st.st_gid);
    ::fchmod(fd, st.st_mode & 0666);
}

#endif

} // namespace

namespace {

bool refusesWrites(const QFileInfo& info) {
    const auto writeBits =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return (info.permissions() & writeBits) == 0 || !info.isWritable();
}

} // namespace

bool isReadOnlyFile(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && !info.isDir() && refusesWrites(info);
}

bool isReadOnlyFolder(const QString& folder) {
    const QFileInfo info(folder);
    return info.isDir() && refusesWrites(info);
}

std::optional<QByteArray> readWholeFile(const QString& path, int* error) {
#ifdef Q_OS_UNIX
    const int fd = ::open(nativePath(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (error) {
            *error = errno;
        }
        return std::nullopt;
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        if (error) {
            *error = EISDIR;
        }
        return std::nullopt;
    }
    // Read straight into the result, sized by the file (large test files are read whole for
    // every answer); the file may still grow meanwhile, so read on until the end.
    // One byte to spare lets the read that finds the end go without growing the buffer.
    QByteArray data(st.st_size > 0 ? static_cast<qsizetype>(st.st_size) + 1 : 4096,
                    Qt::Uninitialized);
    qsizetype used = 0;
    for (;;) {
        if (used == data.size()) {
            data.resize(used * 2);
        }
        const ssize_t n = ::read(fd, data.data() + used, static_cast<size_t>(data.size() - used));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            const int e = errno;
            ::close(fd);
            if (error) {
                *error = e;
            }
            return std::nullopt;
        }
        if (n == 0) {
            break;
        }
        used += n;
    }
    ::close(fd);
    data.truncate(used);
    return data;
#else
    return windows::readWholeFile(path, error);
#endif
}

int writeFileAtomically(const QString& linkOrFile, const QByteArray& content) {
    const QString path = writeTarget(linkOrFile);
    const QFileInfo info(path);
    if (info.isDir()) {
        return EISDIR;
    }
    if (isReadOnlyFile(path) || isReadOnlyFolder(info.absolutePath())) {
        return EACCES;
    }
#ifdef Q_OS_UNIX
    removeStaleTemporaries(info);
    QByteArray temp = nativePath(info.absolutePath()) + '/' + temporaryPrefix(info) + "XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        return errno;
    }
    mode_t mode = 0644;
    auto group = static_cast<gid_t>(-1);
    struct stat st {};
    if (::stat(nativePath(path).constData(), &st) == 0) {
        mode = st.st_mode & 07777;
        group = st.st_gid;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    int e = writeAll(fd, content);
    // The group first: giving a file a group clears its setgid bit, which the mode then restores.
    if (e == 0) {
        e = giveGroup(fd, group);
    }
    if (e == 0 && ::fchmod(fd, mode) != 0) {
        e = errno;
    }
    // The data reaches the disk before the rename can, so no crash can put a half-written file
    // under the name. The folder is not synced: a lost rename leaves the old file, still whole.
    int dataSyncs = 0;
    if (e == 0) {
        e = ::fdatasync(fd) == 0 ? 0 : errno;
        dataSyncs += e == 0 ? 1 : 0;
    }
    if (::close(fd) != 0 && e == 0) {
        e = errno;
    }
    if (e == 0) {
        RenameProbe::beforeRename(path, dataSyncs);
        e = ::rename(temp.constData(), nativePath(path).constData()) == 0 ? 0 : errno;
    }
    if (e != 0) {
        ::unlink(temp.constData());
        return e;
    }
    return 0;
#else
    return windows::replaceFile(path, content);
#endif
}

#ifdef Q_OS_UNIX
namespace {

// Appends to an open file that the caller has locked, and flushes it to disk; a failed append is
// cut back to the old length. A file whose last byte cannot be read (opened for writing only) is
// appended to as it ends.
int appendLocked(int fd, const QByteArray& bytes) {
    struct stat st {};
    const off_t oldSize = ::fstat(fd, &st) == 0 ? st.st_size : -1;
    QByteArray text = bytes;
    char last = 0;
    if (oldSize > 0 && ::pread(fd, &last, 1, oldSize - 1) == 1) {
        text.prepend(lineBreakAfter(last));
    }
    int e = writeAll(fd, text);
    if (e == 0 && ::fsync(fd) != 0) {
        e = errno;
    }
    if (e != 0 && oldSize >= 0 && ::ftruncate(fd, oldSize) == 0) {
        ::fsync(fd);
    }
    return e;
}

// Opens the file for appending; a missing one is made, with the mode and group of `model`.
int openForAppending(const QString& path, const QString& model) {
    const QByteArray name = nativePath(path);
    for (;;) {
        // Read access only shows how the file ends; a log that may be written but not read is
        // still appended to.
        int fd = ::open(name.constData(), O_RDWR | O_APPEND | O_CLOEXEC);
        if (fd < 0 && errno == EACCES) {
            fd = ::open(name.constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
        }
        if (fd >= 0 || errno != ENOENT) {
            return fd;
        }
        const int made =
            ::open(name.constData(), O_RDWR | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0666);
        if (made >= 0) {
            takeModeAndGroup(made, path, model);
            return made;
        }
        if (errno != EEXIST) {
            return made;
        }
        // Another program made it meanwhile: open that one.
    }
}

} // namespace

int appendToFile(const QString& linkOrFile, const QByteArray& bytes, const QString& model) {
    const QString path = writeTarget(linkOrFile);
    if (isReadOnlyFile(path)) {
        return EACCES;
    }
    // Only making a missing file needs its folder to be writable.
    if (!QFileInfo::exists(path) && isReadOnlyFolder(QFileInfo(path).absolutePath())) {
        return EACCES;
    }
    const int fd = openForAppending(path, model);
    if (fd < 0) {
        return errno;
    }
    // A file that is only appended to is never replaced, so it is its own lock: no lock file is
    // made beside it, and a writable log in a folder that is not writable (a classroom's shared
    // log) still takes every line. Closing the file releases the lock.
    int e = flockRetrying(fd, LOCK_EX);
    if (e == 0) {
        e = appendLocked(fd, bytes);
    }
    if (::close(fd) != 0 && e == 0) {
        e = errno;
    }
    return e;
}
#else
int appendToFile(const QString& path, const QByteArray& bytes, const QString& /*model*/) {
    if (isReadOnlyFile(path)) {
        return EACCES;
    }
    const FileLock lock(path);
    if (!lock.held()) {
        return lock.error();
    }
    QByteArray text = bytes;
    QFile file(path);
    if (file.size() > 0 && file.open(QIODevice::ReadOnly) && file.seek(file.size() - 1)) {
        char last = 0;
        if (file.getChar(&last)) {
            text.prepend(lineBreakAfter(last));
        }
    }
    file.close();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        return EACCES;
    }
    const qint64 oldSize = file.size();
    if (file.write(text) != text.size() || !file.flush()) {
        file.resize(oldSize);
        return EIO;
    }
    return 0;
}
#endif

#ifdef Q_OS_UNIX
namespace {

bool isPermissionError(int error) {
    return error == EACCES || error == EPERM || error == EROFS;
}

// A descriptor of the lock file, made when missing; -1 with errno set when it cannot be opened.
int openLockFile(const QByteArray& lockPath) {
    const int fd = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EACCES) {
        // In a folder a classroom shares, the lock file of another user's program is not ours to
        // write; flock needs only a descriptor, so a read-only one waits as well.
        return ::open(lockPath.constData(), O_RDONLY | O_CLOEXEC);
    }
    return fd;
}

} // namespace

FileLock::FileLock(const QString& filePath) {
    const QString target = writeTarget(filePath);
    lockPath_ = nativePath(target + QStringLiteral(".lock"));
    if (isReadOnlyFolder(QFileInfo(target).absolutePath())) {
        lockDataFile(target);
        return;
    }
    for (;;) {
        const int fd = openLockFile(lockPath_);
        if (fd < 0) {
            if (isPermissionError(errno)) {
                lockDataFile(target);
            } else {
                error_ = errno;
            }
            return;
        }
        error_ = flockRetrying(fd, LOCK_EX);
        if (error_ != 0) {
            ::close(fd);
            return;
        }
        // The holder before us may have removed the sidecar after we opened it; only the lock on
        // the file that still stands under the name counts.
        struct stat held {};
        struct stat named {};
        if (::fstat(fd, &held) == 0 && ::stat(lockPath_.constData(), &named) == 0 &&
            sameFile(held, named)) {
            fd_ = fd;
            ownsSidecar_ = true;
            return;
        }
        ::close(fd);
    }
}

// Where no lock file can be made, the data file itself is locked, so that the command goes on to
// the write, which fails with its own message when the file cannot be replaced there. Without a
// data file there is nothing to lock, and the folder refuses the write as it refuses the lock.
void FileLock::lockDataFile(const QString& target) {
    const int fd = ::open(nativePath(target).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error_ = EACCES;
        return;
    }
    error_ = flockRetrying(fd, LOCK_EX);
    if (error_ != 0) {
        ::close(fd);
        return;
    }
    fd_ = fd;
}

FileLock::~FileLock() {
    if (fd_ >= 0) {
        if (ownsSidecar_) {
            ::unlink(lockPath_.constData());
        }
        ::close(fd_);
    }
}
#else
FileLock::FileLock(const QString& filePath) : lock_(filePath + QStringLiteral(".lock")) {
    lock_.setStaleLockTime(kStaleLockMs);
    // Windows refuses to open a file whose removal is pending: the lock file its last holder just
    // removed refuses a waiter for that moment, which QLockFile reports at once as a permission
    // error. Such refusals are tried again while the lock file is there to be waited for.
    QDeadlineTimer deadline(kLockWaitMs);
    while (!lock_.tryLock(int(std::max<qint64>(0, deadline.remainingTime())))) {
        if (lock_.error() != QLockFile::PermissionError || deadline.hasExpired() ||
            isReadOnlyFolder(QFileInfo(filePath).absolutePath())) {
            break;
        }
        QThread::msleep(kLockRetryMs);
    }
    if (lock_.isLocked()) {
        return;
    }
    const bool folderThere = QFileInfo(filePath).absoluteDir().exists();
    switch (lock_.error()) {
    case QLockFile::PermissionError:
        error_ = folderThere ? EACCES : ENOENT;
        break;
    case QLockFile::LockFailedError:
        error_ = EBUSY;
        break;
    default:
        error_ = folderThere ? EIO : ENOENT;
        break;
    }
}

FileLock::~FileLock() = default;
#endif

} // namespace velmora
