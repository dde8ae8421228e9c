// SPDX-License-Identifier: GPL-3.0-or-later
// A course folder that a classroom shares: each student's program runs under the student's own
// account, so a program meets lock files that another user's program made.
#include "core/access/admin_settings.h"
#include "core/access/user_register.h"
#include "core/storage/ini_text.h"
#include "core/storage/safe_file.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

// A register and a settings file linked to a shared copy in another folder stay links: every
// rewrite goes to the shared copy, and nothing is left in either folder.
TEST(SharedFolder, LinkedDataFilesStayLinksAndTheirTargetsAreRewritten) {
    const TempFolder folder;
    const TempFolder shared(folder.path());
    QDir::setCurrent(folder.path());
    shared.write(QStringLiteral("users.ini"), QByteArray());
    shared.write(QStringLiteral("tumb.db"), "admin|admin|report.txt\r\n");
    QDir().mkpath(QStringLiteral("data/info"));
    ASSERT_TRUE(QFile::link(shared.file(QStringLiteral("users.ini")), QStringLiteral("users.ini")));
    // A relative link, as a teacher might make it by hand.
    ASSERT_TRUE(QFile::link(
        QDir(QStringLiteral("data/info")).relativeFilePath(shared.file(QStringLiteral("tumb.db"))),
        QStringLiteral("data/info/tumb.db")));

    ASSERT_TRUE(velmora::UserRegister::addStudent(QStringLiteral("ivan"), QStringLiteral("p")));
    velmora::UserRegister::writeGrade(QStringLiteral("ivan"), 1, 5);
    velmora::AdminSettings{QStringLiteral("t"), QStringLiteral("pw"), QStringLiteral("log.txt")}
        .write();

    EXPECT_TRUE(QFileInfo(QStringLiteral("users.ini")).isSymLink());
    EXPECT_TRUE(QFileInfo(QStringLiteral("data/info/tumb.db")).isSymLink());
    // The password, twelve grades and the moment of registration.
    EXPECT_EQ(IniText::keyNames(shared.read(QStringLiteral("users.ini")), "ivan").size(), 14);
    EXPECT_EQ(shared.read(QStringLiteral("tumb.db")), QByteArray("t|pw|log.txt\r\n"));
    const auto entries = [](const QString& path) {
        return QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                    QDir::Name);
    };
    EXPECT_EQ(entries(shared.path()),
              (QStringList{QStringLiteral("tumb.db"), QStringLiteral("users.ini")}));
    EXPECT_EQ(entries(QStringLiteral("data/info")), QStringList{QStringLiteral("tumb.db")});
}

} // namespace
