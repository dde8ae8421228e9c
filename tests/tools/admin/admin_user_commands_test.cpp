// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/admin_run.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

using velmora::test::AdminRun;
using velmora::test::runAdmin;
using velmora::test::TempFolder;

namespace {

QStringList words(const char* text) {
    return QString::fromUtf8(text).split(QLatin1Char(' '));
}

class AdminUserCommands : public ::testing::Test {
protected:
    AdminUserCommands() {
        folder.write(QStringLiteral("users"), QByteArray());
        folder.write(QStringLiteral("data/info/tumb.db"), "boss|pw|log.txt\r\n");
    }
    TempFolder folder;
};

TEST_F(AdminUserCommands, AddListGradesAndRemoveAStudent) {
    EXPECT_EQ(runAdmin(words("users add Айгүл qwerty")).status, 0);
    EXPECT_EQ(runAdmin(words("users list")).out, QStringLiteral("Айгүл\n"));
    const AdminRun grades = runAdmin(words("users grades айгүл"));
    EXPECT_EQ(grades.status, 0);
    EXPECT_TRUE(grades.out.startsWith(QStringLiteral("test1 1\ntest2 0\n")));
    EXPECT_TRUE(grades.out.endsWith(QStringLiteral("test12 0\n")));
    EXPECT_EQ(runAdmin(words("users remove АЙГҮЛ")).status, 0);
    EXPECT_EQ(runAdmin(words("users list")).out, QString());
    EXPECT_TRUE(folder.read(QStringLiteral("users")).isEmpty());
}

TEST_F(AdminUserCommands, RefusalsExitWithStatusOneAndTheProgramsText) {
    ASSERT_EQ(runAdmin(words("users add Ivan p")).status, 0);
    const AdminRun taken = runAdmin(words("users add IVAN x"));
    EXPECT_EQ(taken.status, 1);
    EXPECT_TRUE(
        taken.err.contains(QStringLiteral("Пользователь с таким именем уже зарегистрирован!")));
    EXPECT_EQ(runAdmin(words("users add Boss x")).status, 1); // the administrator login
    EXPECT_EQ(runAdmin({QStringLiteral("users"), QStringLiteral("add"), QStringLiteral("a|b"),
                        QStringLiteral("x")})
                  .status,
              1);
    EXPECT_EQ(runAdmin(words("users remove nobody")).status, 1);
    EXPECT_EQ(runAdmin(words("users grades nobody")).status, 1);
    EXPECT_EQ(runAdmin(words("users list")).out, QStringLiteral("Ivan\n"));
}

TEST_F(AdminUserCommands, SettingsAreShownAndReplacedWhole) {
    EXPECT_EQ(runAdmin(words("settings show")).out,
              QStringLiteral("login: boss\npassword: pw\nreport file: log.txt\n"));
    EXPECT_EQ(runAdmin({QStringLiteral("settings"), QStringLiteral("set"), QString(),
                        QStringLiteral("p"), QStringLiteral("r")})
                  .status,
              1);
    EXPECT_EQ(runAdmin(words("settings set neo p|q r")).status, 1);
    // No test log file: the journal could never read one.
    QDir().mkpath(folder.file(QStringLiteral("logs")));
    for (const QString& file : {QString(), QStringLiteral("logs"), QStringLiteral("logs/")}) {
        const AdminRun run = runAdmin({QStringLiteral("settings"), QStringLiteral("set"),
                                       QStringLiteral("neo"), QStringLiteral("p"), file},
                                      folder.path());
        EXPECT_EQ(run.status, 1) << file.toStdString();
        EXPECT_EQ(run.err, QStringLiteral("velmora-admin: Недопустимое имя файла отчета!\n"))
            << file.toStdString();
    }
    EXPECT_EQ(folder.read(QStringLiteral("data/info/tumb.db")), QByteArray("boss|pw|log.txt\r\n"));
    EXPECT_EQ(runAdmin(words("settings set neo p2 r.txt")).status, 0);
    EXPECT_EQ(folder.read(QStringLiteral("data/info/tumb.db")), QByteArray("neo|p2|r.txt\r\n"));
}

} // namespace
