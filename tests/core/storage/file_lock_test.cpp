// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/storage/safe_file.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace velmora;
using velmora::test::TempFolder;

namespace {

// A child process takes the lock, reports it over a pipe, leaves a mark after a pause and ends
// without releasing the lock by hand. The parent's lock must wait for the child's end.
TEST(FileLock, WaitsForAnotherProcessAndIsFreedWhenItEnds) {
    const TempFolder folder;
    const QString data = folder.file(QStringLiteral("users.ini"));
    const QByteArray mark = QFile::encodeName(folder.file(QStringLiteral("child-done")));
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(pipeEnds[0]);
        const FileLock lock(data);
        const char held = lock.held() ? 'y' : 'n';
        (void)!::write(pipeEnds[1], &held, 1);
        ::usleep(200 * 1000);
        const int fd = ::open(mark.constData(), O_WRONLY | O_CREAT, 0644);
        ::close(fd);
        ::_exit(0); // no destructor runs: the system must drop the lock
    }
    ::close(pipeEnds[1]);
    char held = 0;
    ASSERT_EQ(::read(pipeEnds[0], &held, 1), 1);
    ::close(pipeEnds[0]);
    EXPECT_EQ(held, 'y');
    {
        const FileLock lock(data);
        EXPECT_TRUE(lock.held());
        EXPECT_TRUE(QFile::exists(QFile::decodeName(mark))) << "lock taken while the child held it";
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    // Taking the lock leaves nothing behind in the folder.
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("child-done")});
}

TEST(FileLock, MissingFolderIsReported) {
    const TempFolder folder;
    const FileLock lock(folder.file(QStringLiteral("nowhere/tumb.db")));
    EXPECT_FALSE(lock.held());
    EXPECT_EQ(lock.error(), ENOENT);
}

// A classroom's shared folder that the student may not write: the writable log in it still takes
// its lines, locked on itself; a missing log cannot be made there. The register's lock falls back
// to the file itself and its rewrite fails as it always did. Nothing is left in the folder.
// (Root ignores the permission bits, but the program goes by them, so the case holds.)
TEST(FileLock, AReadOnlyFolderTakesLogLinesButNoRewrite) {
    const TempFolder folder;
    QDir().mkpath(QStringLiteral("shared"));
    folder.write(QStringLiteral("shared/log.txt"), "old\r\n");
    folder.write(QStringLiteral("shared/users.ini"), "[a]\r\nk=1\r\n");
    const QString shared = folder.file(QStringLiteral("shared"));
    QFile::setPermissions(shared, QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_EQ(appendToFile(shared + QStringLiteral("/log.txt"), "x\r\n"), 0);
    EXPECT_EQ(appendToFile(shared + QStringLiteral("/new.txt"), "x\r\n"), EACCES);
    {
        const FileLock lock(shared + QStringLiteral("/users.ini"));
        EXPECT_TRUE(lock.held());
        EXPECT_EQ(writeFileAtomically(shared + QStringLiteral("/users.ini"), "k"), EACCES);
    }
    EXPECT_EQ(FileLock(shared + QStringLiteral("/users")).error(), EACCES);
    QFile::setPermissions(shared, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(folder.read(QStringLiteral("shared/log.txt")), QByteArray("old\r\nx\r\n"));
    EXPECT_EQ(folder.read(QStringLiteral("shared/users.ini")), QByteArray("[a]\r\nk=1\r\n"));
    EXPECT_EQ(QDir(shared).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              (QStringList{QStringLiteral("log.txt"), QStringLiteral("users.ini")}));
}

// Locks follow one another in one process: each is released when it goes out of scope.
TEST(FileLock, SuccessiveLocksInOneFolderDoNotBlock) {
    const TempFolder folder;
    for (int i = 0; i < 3; ++i) {
        const FileLock lock(folder.file(QStringLiteral("users")));
        EXPECT_TRUE(lock.held());
    }
    EXPECT_EQ(appendToFile(folder.file(QStringLiteral("log.txt")), "line\r\n"), 0);
    EXPECT_EQ(folder.read(QStringLiteral("log.txt")), QByteArray("line\r\n"));
}

} // namespace
