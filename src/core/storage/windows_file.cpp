// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/storage/windows_file.h"

#include "core/storage/rename_probe.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <cerrno>
#include <string>
#include <windows.h>

namespace velmora::windows {
namespace {

std::wstring native(const QString& path) {
    return QDir::toNativeSeparators(path).toStdWString();
}

// Closes a handle when it goes out of scope.
class Handle {
public:
    explicit Handle(HANDLE h) : h_(h) {}
    ~Handle() {
        if (valid()) {
            ::CloseHandle(h_);
        }
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return h_; }
    // Closes now; false when closing failed (a write-back error shows here).
    bool close() {
        const bool ok = ::CloseHandle(h_) != 0;
        h_ = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE h_;
};

constexpr int kTempLetters = 6;
// How long a file another holds is waited for: 100 tries 20 ms apart.
constexpr int kHeldRetries = 100;
constexpr DWORD kHeldRetryMs = 20;

QString temporaryPrefix(const QFileInfo& info) {
    return QLatin1Char('.') + info.fileName() + QLatin1Char('.');
}

QString temporaryName(const QFileInfo& info) {
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QString name = temporaryPrefix(info);
    for (int i = 0; i < kTempLetters; ++i) {
        name += QLatin1Char(letters[QRandomGenerator::global()->bounded(62)]);
    }
    return info.absolutePath() + QLatin1Char('/') + name;
}

void removeStaleTemporaries(const QFileInfo& info) {
    const QRegularExpression temporary(
        QRegularExpression::anchoredPattern(QRegularExpression::escape(temporaryPrefix(info)) +
                                            QStringLiteral("[0-9A-Za-z]{%1}").arg(kTempLetters)));
    QDir folder(info.absolutePath());
    const QStringList entries = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& entry : entries) {
        if (temporary.match(entry).hasMatch()) {
            ::DeleteFileW(native(folder.filePath(entry)).c_str());
        }
    }
}

bool isHeldByAnother(DWORD error) {
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ||
           error == ERROR_LOCK_VIOLATION;
}

int writeAll(HANDLE file, const QByteArray& content) {
    const char* p = content.constData();
    qsizetype left = content.size();
    while (left > 0) {
        DWORD written = 0;
        const auto chunk = static_cast<DWORD>(std::min<qsizetype>(left, 1 << 30));
        if (::WriteFile(file, p, chunk, &written, nullptr) == 0) {
            return errorNumberOf(::GetLastError());
        }
        p += written;
        left -= written;
    }
    return 0;
}

} // namespace

int errorNumberOf(unsigned long windowsError) {
    switch (windowsError) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    default:
        return EIO;
    }
}

std::optional<QByteArray> readWholeFile(const QString& path, int* error) {
    const auto fail = [error](int e) -> std::optional<QByteArray> {
        if (error != nullptr) {
            *error = e;
        }
        return std::nullopt;
    };
    if (QFileInfo(path).isDir()) {
        return fail(EISDIR);
    }
    // A rewrite's rename denies opening the file for its moment: that is waited for, as a
    // holder is by the rewrite.
    HANDLE opened = INVALID_HANDLE_VALUE;
    for (int attempt = 0; opened == INVALID_HANDLE_VALUE; ++attempt) {
        opened = ::CreateFileW(native(path).c_str(), GENERIC_READ,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (opened != INVALID_HANDLE_VALUE) {
            break;
        }
        const DWORD error = ::GetLastError();
        if (!isHeldByAnother(error) || attempt >= kHeldRetries) {
            return fail(errorNumberOf(error));
        }
        ::Sleep(kHeldRetryMs);
    }
    Handle file(opened);
    LARGE_INTEGER size{};
    ::GetFileSizeEx(file.get(), &size);
    // Sized by the file, one byte to spare; it may still grow meanwhile, so read on to the end.
    QByteArray data(size.QuadPart > 0 ? static_cast<qsizetype>(size.QuadPart) + 1 : 4096,
                    Qt::Uninitialized);
    qsizetype used = 0;
    for (;;) {
        if (used == data.size()) {
            data.resize(used * 2);
        }
        DWORD n = 0;
        const auto want = static_cast<DWORD>(std::min<qsizetype>(data.size() - used, 1 << 30));
        if (::ReadFile(file.get(), data.data() + used, want, &n, nullptr) == 0) {
            return fail(errorNumberOf(::GetLastError()));
        }
        if (n == 0) {
            break;
        }
        used += n;
    }
    data.truncate(used);
    return data;
}

int replaceFile(const QString& path, const QByteArray& content) {
    const QFileInfo info(path);
    removeStaleTemporaries(info);
    QString temp;
    HANDLE made = INVALID_HANDLE_VALUE;
    for (int tries = 0; made == INVALID_HANDLE_VALUE && tries < 100; ++tries) {
        temp = temporaryName(info);
        made = ::CreateFileW(native(temp).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
        if (made == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS) {
            return errorNumberOf(::GetLastError());
        }
    }
    Handle file(made);
    if (!file.valid()) {
        return EEXIST;
    }
    int e = writeAll(file.get(), content);
    // The data reaches the disk before the rename can.
    if (e == 0 && ::FlushFileBuffers(file.get()) == 0) {
        e = errorNumberOf(::GetLastError());
    }
    if (!file.close() && e == 0) {
        e = EIO;
    }
    const std::wstring from = native(temp);
    const std::wstring to = native(path);
    if (e == 0) {
        RenameProbe::beforeRename(path, 1);
    }
    for (int attempt = 0; e == 0; ++attempt) {
        if (::MoveFileExW(from.c_str(), to.c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0) {
            return 0;
        }
        const DWORD error = ::GetLastError();
        if (!isHeldByAnother(error) || attempt >= kHeldRetries) {
            e = errorNumberOf(error);
            break;
        }
        ::Sleep(kHeldRetryMs);
    }
    ::DeleteFileW(from.c_str());
    return e;
}

} // namespace velmora::windows
