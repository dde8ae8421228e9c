// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/small_disk.h"

#include "core/storage/system_reason.h"

#include <QByteArray>
#include <QFile>
#include <algorithm>
#include <cerrno>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>
#endif

namespace velmora::test {

#ifdef Q_OS_LINUX
namespace {

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

} // namespace

SmallDisk::SmallDisk(qint64 bytes) {
    if (::geteuid() != 0) {
        skipReason_ = QStringLiteral("a small disk needs root to mount a tmpfs");
        return;
    }
    if (!mountPoint_.isValid()) {
        skipReason_ = QStringLiteral("no folder to mount the small disk on");
        return;
    }
    const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0755";
    if (::mount("tmpfs", native(path()).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                options.constData()) != 0) {
        skipReason_ = QStringLiteral("mounting a tmpfs failed: ") + failures::systemReason(errno);
        return;
    }
    mounted_ = true;
}

SmallDisk::~SmallDisk() {
    if (mounted_ && ::umount(native(path()).constData()) != 0) {
        // Still busy (a file left open): detach it, so the folder can go.
        ::umount2(native(path()).constData(), MNT_DETACH);
    }
}

qint64 SmallDisk::fill(qint64 room) const {
    const QByteArray filler = native(path() + QStringLiteral("/filler"));
    const int fd = ::open(filler.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        return -1;
    }
    const QByteArray block(blockSize(), 'f');
    off_t size = 0;
    for (;;) {
        const ssize_t n = ::write(fd, block.constData(), static_cast<size_t>(block.size()));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        size += n;
    }
    const qint64 blocks = (room + blockSize() - 1) / blockSize();
    const off_t kept = std::max<off_t>(0, size - static_cast<off_t>(blocks * blockSize()));
    const int truncated = ::ftruncate(fd, kept);
    ::close(fd);
    return truncated == 0 ? freeBytes() : -1;
}

qint64 SmallDisk::freeBytes() const {
    struct statvfs st {};
    if (::statvfs(native(path()).constData(), &st) != 0) {
        return -1;
    }
    return static_cast<qint64>(st.f_bavail) * static_cast<qint64>(st.f_frsize);
}

qint64 SmallDisk::blockSize() const {
    struct statvfs st {};
    if (::statvfs(native(path()).constData(), &st) != 0 || st.f_frsize == 0) {
        return 4096;
    }
    return static_cast<qint64>(st.f_frsize);
}

#else
// Elsewhere (Windows) there is no tmpfs to mount: the full-disk tests are skipped.
SmallDisk::SmallDisk(qint64 /*bytes*/) {
    skipReason_ = QStringLiteral("a small disk needs a Linux tmpfs");
}

SmallDisk::~SmallDisk() = default;

qint64 SmallDisk::fill(qint64 /*room*/) const {
    return -1;
}

qint64 SmallDisk::freeBytes() const {
    return -1;
}

qint64 SmallDisk::blockSize() const {
    return 4096;
}
#endif

} // namespace velmora::test
