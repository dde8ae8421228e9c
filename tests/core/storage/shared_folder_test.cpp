// SPDX-License-Identifier: GPL-3.0-or-later
// A course folder that a classroom shares: each student's program runs under the student's own
// account, so a program meets lock files that another user's program made.
#include "core/storage/ini_text.h"
#include "core/storage/safe_file.h"
#include "support/temp_folder.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>
#include <optional>
#include <unistd.h>

namespace {

using velmora::FileLock;
using velmora::IniText;
using velmora::test::TempFolder;

constexpr auto kEveryone = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                           QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                           QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                           QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;

// While this process holds the lock of users.ini, a writer running as another user waits for it
// instead of failing, and writes once the lock is free. Run as root the writer is the user
// "nobody"; otherwise the lock file is made read-only, as another user's lock file looks.
TEST(SharedFolder, AWriterWaitsForAnotherUsersLock) {
    const TempFolder folder;
    QFile::setPermissions(folder.path(), kEveryone);
    std::optional<FileLock> lock;
    lock.emplace(folder.file(QStringLiteral("users.ini")));
    ASSERT_TRUE(lock->held());

    const QStringList write{QStringLiteral("keys"), QStringLiteral("k"), QStringLiteral("3")};
    QProcess writer;
    writer.setWorkingDirectory(folder.path());
    if (::geteuid() == 0) {
        writer.start(QStringLiteral("setpriv"),
                     QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                                 QStringLiteral("--clear-groups"),
                                 QStringLiteral(VELMORA_INI_WRITER)} +
                         write);
    } else {
        QFile::setPermissions(folder.file(QStringLiteral("users.ini.lock")),
                              QFileDevice::ReadOwner | QFileDevice::ReadGroup |
                                  QFileDevice::ReadOther);
        writer.start(QStringLiteral(VELMORA_INI_WRITER), write);
    }
    ASSERT_TRUE(writer.waitForReadyRead(10000)) << writer.readAllStandardError().toStdString();

    EXPECT_FALSE(writer.waitForFinished(500)) << writer.readAllStandardError().toStdString();
    lock.reset();
    ASSERT_TRUE(writer.waitForFinished(20000));
    EXPECT_EQ(writer.exitCode(), 0) << writer.readAllStandardError().toStdString();
    EXPECT_EQ(IniText::keyNames(folder.read(QStringLiteral("users.ini")), "keys").size(), 3);
}

} // namespace
