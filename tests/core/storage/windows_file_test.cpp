// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows reads and rewrites of the data files (built and run on Windows only): a reader never
// stops another copy's rewrite, a holder that does not share the file is waited for, and a failed
// rewrite leaves the old file and no temporary one.
#include "core/storage/safe_file.h"
#include "core/storage/windows_file.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>
#include <windows.h>

namespace velmora::windows {
namespace {

using test::TempFolder;

HANDLE openShared(const QString& path, DWORD share) {
    return ::CreateFileW(QDir::toNativeSeparators(path).toStdWString().c_str(), GENERIC_READ, share,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The register in a fresh folder, holding "old".
QString oldRegister(const TempFolder& folder) {
    folder.write(QStringLiteral("users.ini"), QByteArrayLiteral("old"));
    return folder.file(QStringLiteral("users.ini"));
}

QStringList leftovers(const TempFolder& folder) {
    return QDir(folder.path())
        .entryList(QDir::Files | QDir::Hidden)
        .filter(QStringLiteral(".users.ini."));
}

// Windows renames over no open file, even one its reader shares: a reader of the moment is
// waited for, as any other holder that does not share the file.
TEST(WindowsFile, AHolderOfTheMomentIsWaitedFor) {
    for (const DWORD share :
         {DWORD(FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE), DWORD(FILE_SHARE_READ)}) {
        SCOPED_TRACE(share);
        const TempFolder folder;
        const QString path = oldRegister(folder);
        const HANDLE holder = openShared(path, share);
        ASSERT_NE(holder, INVALID_HANDLE_VALUE);
        std::thread release([holder] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            ::CloseHandle(holder);
        });
        EXPECT_EQ(replaceFile(path, QByteArrayLiteral("new")), 0);
        release.join();
        EXPECT_EQ(readWholeFile(path, nullptr), QByteArrayLiteral("new"));
        EXPECT_TRUE(leftovers(folder).isEmpty());
    }
}

TEST(WindowsFile, AHolderThatStaysLeavesTheOldFileAndNoTemporary) {
    const TempFolder folder;
    const QString path = oldRegister(folder);
    const HANDLE holder = openShared(path, FILE_SHARE_READ);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(replaceFile(path, QByteArrayLiteral("new")), EACCES);
    ::CloseHandle(holder);
    EXPECT_EQ(readWholeFile(path, nullptr), QByteArrayLiteral("old"));
    EXPECT_TRUE(leftovers(folder).isEmpty());
}

TEST(WindowsFile, TemporariesOfRewritesCutShortAreRemoved) {
    const TempFolder folder;
    const QString path = folder.file(QStringLiteral("users.ini"));
    folder.write(QStringLiteral(".users.ini.a1B2c3"), QByteArrayLiteral("half"));
    // Not a temporary of this file (three letters, not six): kept.
    folder.write(QStringLiteral(".users.ini.bak"), QByteArrayLiteral("keep"));
    EXPECT_EQ(replaceFile(path, QByteArrayLiteral("whole")), 0);
    EXPECT_EQ(leftovers(folder), QStringList{QStringLiteral(".users.ini.bak")});
    EXPECT_EQ(readWholeFile(path, nullptr), QByteArrayLiteral("whole"));
}

TEST(WindowsFile, ReadsSayWhyTheyFail) {
    const TempFolder folder;
    int error = 0;
    EXPECT_FALSE(readWholeFile(folder.file(QStringLiteral("missing")), &error));
    EXPECT_EQ(error, ENOENT);
    QDir().mkpath(folder.file(QStringLiteral("sub")));
    EXPECT_FALSE(readWholeFile(folder.file(QStringLiteral("sub")), &error));
    EXPECT_EQ(error, EISDIR);
    EXPECT_EQ(replaceFile(folder.file(QStringLiteral("nowhere/users.ini")), "x"), ENOENT);
}

TEST(WindowsFile, ErrorNumbersOfWindowsErrors) {
    const struct {
        DWORD windows;
        int number;
    } rows[] = {{ERROR_FILE_NOT_FOUND, ENOENT}, {ERROR_PATH_NOT_FOUND, ENOENT},
                {ERROR_ACCESS_DENIED, EACCES},  {ERROR_SHARING_VIOLATION, EACCES},
                {ERROR_DISK_FULL, ENOSPC},      {ERROR_HANDLE_DISK_FULL, ENOSPC},
                {ERROR_WRITE_PROTECT, EROFS},   {ERROR_GEN_FAILURE, EIO}};
    for (const auto& row : rows) {
        EXPECT_EQ(errorNumberOf(row.windows), row.number) << row.windows;
    }
}

} // namespace
} // namespace velmora::windows
