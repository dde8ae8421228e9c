#include "access/safe_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

#ifdef Q_OS_UNIX
#include <QDeadlineTimer>
#include <QThread>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QSaveFile>
#endif

namespace velmora {
namespace {

constexpr int kLockWaitMs = 15000;
#ifdef Q_OS_UNIX
constexpr int kLockPollMs = 5;
#else
constexpr int kStaleLockMs = 10000;
#endif

QByteArray nativePath(const QString& path) { return QFile::encodeName(path); }

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

void syncFolder(const QString& path) {
    const int dir = ::open(nativePath(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}
#endif

} // namespace

bool isReadOnlyFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() || info.isDir()) {
        return false;
    }
    const auto writeBits = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return (info.permissions() & writeBits) == 0 || !info.isWritable();
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
    QByteArray data;
    data.reserve(st.st_size > 0 ? static_cast<qsizetype>(st.st_size) : 0);
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
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
        data.append(buffer, n);
    }
    ::close(fd);
    return data;
#else
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) {
            *error = file.exists() ? EACCES : ENOENT;
        }
        return std::nullopt;
    }
    return file.readAll();
#endif
}

int writeFileAtomically(const QString& path, const QByteArray& content) {
    const QFileInfo info(path);
    if (info.isDir()) {
        return EISDIR;
    }
    if (isReadOnlyFile(path)) {
        return EACCES;
    }
#ifdef Q_OS_UNIX
    QByteArray temp = nativePath(info.absolutePath() + QLatin1Char('/') + QLatin1Char('.') +
                                 info.fileName() + QStringLiteral(".XXXXXX"));
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        return errno;
    }
    mode_t mode = 0644;
    struct stat st {};
    if (::stat(nativePath(path).constData(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    int e = writeAll(fd, content);
    if (e == 0 && ::fchmod(fd, mode) != 0) {
        e = errno;
    }
    if (e == 0 && ::fsync(fd) != 0) {
        e = errno;
    }
    if (::close(fd) != 0 && e == 0) {
        e = errno;
    }
    if (e == 0 && ::rename(temp.constData(), nativePath(path).constData()) != 0) {
        e = errno;
    }
    if (e != 0) {
        ::unlink(temp.constData());
        return e;
    }
    syncFolder(path);
    return 0;
#else
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit()) {
        return file.error() == QFileDevice::PermissionsError ? EACCES : EIO;
    }
    return 0;
#endif
}

int appendToFile(const QString& path, const QByteArray& bytes) {
    if (isReadOnlyFile(path)) {
        return EACCES;
    }
    const FileLock lock(path);
    if (!lock.held()) {
        return lock.error();
    }
    return appendHoldingLock(path, bytes);
}

int appendHoldingLock(const QString& path, const QByteArray& bytes) {
    if (isReadOnlyFile(path)) {
        return EACCES;
    }
#ifdef Q_OS_UNIX
    const int fd = ::open(nativePath(path).constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (fd < 0) {
        return errno;
    }
    struct stat st {};
    const off_t oldSize = ::fstat(fd, &st) == 0 ? st.st_size : -1;
    int e = writeAll(fd, bytes);
    if (e == 0 && ::fsync(fd) != 0) {
        e = errno;
    }
    if (e != 0 && oldSize >= 0 && ::ftruncate(fd, oldSize) == 0) {
        ::fsync(fd);
    }
    if (::close(fd) != 0 && e == 0) {
        e = errno;
    }
    return e;
#else
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        return EACCES;
    }
    const qint64 oldSize = file.size();
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.resize(oldSize);
        return EIO;
    }
    return 0;
#endif
}

#ifdef Q_OS_UNIX
FileLock::FileLock(const QString& filePath) {
    const QByteArray folder = nativePath(QFileInfo(filePath).absolutePath());
    folder_ = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder_ < 0) {
        error_ = errno;
        return;
    }
    QDeadlineTimer deadline(kLockWaitMs);
    while (::flock(folder_, LOCK_EX | LOCK_NB) != 0) {
        const int e = errno;
        if (e == EINTR) {
            continue;
        }
        if (e != EWOULDBLOCK || deadline.hasExpired()) {
            error_ = e == EWOULDBLOCK ? EBUSY : e;
            ::close(folder_);
            folder_ = -1;
            return;
        }
        QThread::msleep(kLockPollMs);
    }
}

FileLock::~FileLock() {
    if (folder_ >= 0) {
        ::close(folder_); // releases the lock
    }
}
#else
FileLock::FileLock(const QString& filePath) : lock_(filePath + QStringLiteral(".lock")) {
    lock_.setStaleLockTime(kStaleLockMs);
    if (lock_.tryLock(kLockWaitMs)) {
        return;
    }
    switch (lock_.error()) {
    case QLockFile::PermissionError:
        error_ = QFileInfo(filePath).absoluteDir().exists() ? EACCES : ENOENT;
        break;
    case QLockFile::LockFailedError:
        error_ = EBUSY;
        break;
    default:
        error_ = QFileInfo(filePath).absoluteDir().exists() ? EIO : ENOENT;
        break;
    }
}

FileLock::~FileLock() = default;
#endif

} // namespace velmora
