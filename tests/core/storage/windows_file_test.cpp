// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows reads and rewrites of the data files (built and run on Windows only): a reader never
// stops another copy's rewrite, a holder that does not share the file is waited for, and a failed
// rewrite leaves the old file and no temporary one.
#include "core/storage/safe_file.h"
#include "core/storage/windows_file.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <QThread>
#include <cerrno>
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

QStringList leftovers(const TempFolder& folder) {
    return QDir(folder.path())
        .entryList(QDir::Files | QDir::Hidden)
        .filter(QStringLiteral(".users.ini."));
}

TEST(WindowsFile, AReaderThatSharesTheFileNeverStopsARewrite) {
    const TempFolder folder;
    const QString path = folder.file(QStringLiteral("users.ini"));
    folder.write(QStringLiteral("users.ini"), QByteArrayLiteral("old"));
    const HANDLE reader = openShared(path, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_EQ(replaceFile(path, QByteArrayLiteral("new")), 0);
    ::CloseHandle(reader);
    EXPECT_EQ(readWholeFile(path, nullptr), QByteArrayLiteral("new"));
    EXPECT_TRUE(leftovers(folder).isEmpty());
}

TEST(WindowsFile, AHolderThatDoesNotShareIsWaitedFor) {
    const TempFolder folder;
    const QString path = folder.file(QStringLiteral("users.ini"));
    folder.write(QStringLiteral("users.ini"), QByteArrayLiteral("old"));
    const HANDLE holder = openShared(path, FILE_SHARE_READ);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    std::thread release([holder] {
        QThread::msleep(300);
        ::CloseHandle(holder);
    });
    EXPECT_EQ(replaceFile(path, QByteArrayLiteral("new")), 0);
    release.join();
    EXPECT_EQ(readWholeFile(path, nullptr), QByteArrayLiteral("new"));
}

TEST(WindowsFile, AHolderThatStaysLeavesTheOldFileAndNoTemporary) {
    const TempFolder folder;
    const QString path = folder.file(QStringLiteral("users.ini"));
    folder.write(QStringLiteral("users.ini"), QByteArrayLiteral("old"));
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
    // Not a temporary of this file: kept.
    folder.write(QStringLiteral(".users.ini.backup"), QByteArrayLiteral("keep"));
    EXPECT_EQ(replaceFile(path, QByteArrayLiteral("whole")), 0);
    EXPECT_EQ(leftovers(folder), QStringList{QStringLiteral(".users.ini.backup")});
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

// Through the storage layer's own calls, as the program uses them: a big file read whole while
// another rewrite of it goes on never fails, and always reads one whole version.
TEST(WindowsFile, ReadsDuringRewritesSeeWholeVersions) {
    const TempFolder folder;
    const QString path = folder.file(QStringLiteral("users.ini"));
    const QByteArray a(200000, 'a');
    const QByteArray b(100000, 'b');
    ASSERT_EQ(writeFileAtomically(path, a), 0);
    std::thread writer([&] {
        for (int i = 0; i < 40; ++i) {
            const FileLock lock(path);
            EXPECT_EQ(writeFileAtomically(path, i % 2 ? a : b), 0);
        }
    });
    for (int i = 0; i < 200; ++i) {
        int error = 0;
        const auto read = velmora::readWholeFile(path, &error);
        ASSERT_TRUE(read) << error;
        EXPECT_TRUE(*read == a || *read == b) << read->size();
    }
    writer.join();
}

} // namespace
} // namespace velmora::windows
