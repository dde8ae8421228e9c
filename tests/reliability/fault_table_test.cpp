// SPDX-License-Identifier: GPL-3.0-or-later
// The fault and bad-input table: each data file in each bad state, met by the handler (or the
// logic a handler calls, run inside the same guard) that reads or writes it. Each row names the
// exact boxes shown, and every file of the folder but those the command may write must keep its
// bytes; a refused or failed write leaves its own file as it was, too.

#include "course_commands.h"
#include "course_state.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <random>

using namespace velmora;
using namespace velmora::test;

namespace {

enum class Fault { Missing, Empty, RandomBytes, TenMegabytes, MegabyteLine, Folder, ReadOnly };

const char* faultName(Fault f) {
    static const char* const names[] = {"missing",   "empty",    "random bytes", "10 MB",
                                        "1 MB line", "a folder", "read-only"};
    return names[static_cast<int>(f)];
}

QByteArray randomBytes(qsizetype n, unsigned seed) {
    std::mt19937 random(seed);
    QByteArray out(n, Qt::Uninitialized);
    for (char& c : out) {
        c = static_cast<char>(random() & 0xFF);
    }
    return out;
}

// Puts the file at `relative` into the state `fault`.
void stage(const TempFolder& folder, const QString& relative, Fault fault) {
    const QString path = folder.file(relative);
    if (fault == Fault::ReadOnly) {
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
        return;
    }
    QFile::remove(path);
    switch (fault) {
    case Fault::Missing:
        return;
    case Fault::Empty:
        folder.write(relative, QByteArray());
        return;
    case Fault::RandomBytes:
        folder.write(relative, randomBytes(4096, 7));
        return;
    case Fault::TenMegabytes:
        // Lines of 2,048 bytes: answer lines to the source, keyless lines to an INI file.
        folder.write(relative, ("A) " + QByteArray(2043, 'x') + "\r\n").repeated(5120));
        return;
    case Fault::MegabyteLine:
        folder.write(relative, QByteArray(qsizetype{1024} * 1024, 'a'));
        return;
    case Fault::Folder:
        QDir().mkpath(path);
        return;
    case Fault::ReadOnly:
        return;
    }
}

struct Row {
    const char* command;
    const char* file;
    Fault fault;
    QStringList boxes;   // "caption: text"; %1 stands for the folder's path
    QStringList changed; // the files the command wrote
};

const QString kTitle = QStringLiteral("ЭУИ Velmora: ");
const QString kRefused = QStringLiteral("Error: Проверьте правильность имени и пароля!");
const QString kRegistered =
    QStringLiteral("Information: Пользователь зарегистрирован.Нажмите \"Далее>>\"");
const QString kNotInteger = kTitle + QStringLiteral("'………………' is not a valid integer value.");

QString cannotOpen(const char* file, const char* reason) {
    return kTitle + QStringLiteral("Cannot open file \"%1/") + QString::fromUtf8(file) +
           QStringLiteral("\". ") + QString::fromUtf8(reason) + QLatin1Char('.');
}

const QStringList kNone;
const QStringList kRegistration{QStringLiteral("users"), QStringLiteral("users.ini")};
const QStringList kSettings{QStringLiteral("data/info/tumb.db")};
const QStringList kLog{QStringLiteral("log.txt")};
const QStringList kOutput{QStringLiteral("out.ini")};

const Row kRows[] = {
    // start-up reads the name list and the settings
    {"start-up",
     "users",
     Fault::Missing,
     {cannotOpen("users", "No such file or directory")},
     kNone},
    {"start-up", "users", Fault::Empty, {}, kNone},
    {"start-up", "users", Fault::RandomBytes, {}, kNone},
    {"start-up", "users", Fault::TenMegabytes, {}, kNone},
    {"start-up", "users", Fault::MegabyteLine, {}, kNone},
    {"start-up", "users", Fault::Folder, {cannotOpen("users", "Is a directory")}, kNone},
    {"start-up", "users", Fault::ReadOnly, {}, kNone},
    {"start-up",
     "data/info/tumb.db",
     Fault::Missing,
     {kTitle + QStringLiteral("File not found.")},
     kNone},
    {"start-up", "data/info/tumb.db", Fault::Empty, {}, kNone},
    {"start-up", "data/info/tumb.db", Fault::RandomBytes, {}, kNone},
    {"start-up", "data/info/tumb.db", Fault::TenMegabytes, {}, kNone},
    {"start-up", "data/info/tumb.db", Fault::MegabyteLine, {}, kNone},
    {"start-up",
     "data/info/tumb.db",
     Fault::Folder,
     {kTitle + QStringLiteral("File access denied.")},
     kNone},
    {"start-up", "data/info/tumb.db", Fault::ReadOnly, {}, kNone},
    // sign-in reads the register: any damage reads as an unknown student
    {"sign-in", "users.ini", Fault::Missing, {kRefused}, kNone},
    {"sign-in", "users.ini", Fault::Empty, {kRefused}, kNone},
    {"sign-in", "users.ini", Fault::RandomBytes, {kRefused}, kNone},
    {"sign-in", "users.ini", Fault::TenMegabytes, {kRefused}, kNone},
    {"sign-in", "users.ini", Fault::MegabyteLine, {kRefused}, kNone},
    {"sign-in", "users.ini", Fault::Folder, {kRefused}, kNone},
    {"sign-in", "users.ini", Fault::ReadOnly, {}, kNone},
    // registration writes the register and the name list
    {"registration", "users.ini", Fault::Missing, {kRegistered}, kRegistration},
    {"registration", "users.ini", Fault::Empty, {kRegistered}, kRegistration},
    {"registration", "users.ini", Fault::RandomBytes, {kRegistered}, kRegistration},
    {"registration", "users.ini", Fault::TenMegabytes, {kRegistered}, kRegistration},
    {"registration", "users.ini", Fault::MegabyteLine, {kRegistered}, kRegistration},
    {"registration",
     "users.ini",
     Fault::Folder,
     {kTitle + QStringLiteral("Unable to write to %1/users.ini.")},
     kNone},
    {"registration",
     "users.ini",
     Fault::ReadOnly,
     {kTitle + QStringLiteral("Unable to write to %1/users.ini.")},
     kNone},
    {"registration", "users", Fault::Missing, {kRegistered}, kRegistration},
    {"registration", "users", Fault::Empty, {kRegistered}, kRegistration},
    {"registration", "users", Fault::RandomBytes, {kRegistered}, kRegistration},
    {"registration", "users", Fault::TenMegabytes, {kRegistered}, kRegistration},
    {"registration", "users", Fault::MegabyteLine, {kRegistered}, kRegistration},
    {"registration",
     "users",
     Fault::Folder,
     {kTitle + QStringLiteral("Cannot create file \"%1/users\". Is a directory.")},
     kNone},
    {"registration",
     "users",
     Fault::ReadOnly,
     {kTitle + QStringLiteral("Cannot create file \"%1/users\". Permission denied.")},
     kNone},
    // the administrator's "Применить" replaces the settings file
    {"settings", "data/info/tumb.db", Fault::Missing, {}, kSettings},
    {"settings", "data/info/tumb.db", Fault::Empty, {}, kSettings},
    {"settings", "data/info/tumb.db", Fault::RandomBytes, {}, kSettings},
    {"settings", "data/info/tumb.db", Fault::TenMegabytes, {}, kSettings},
    {"settings", "data/info/tumb.db", Fault::MegabyteLine, {}, kSettings},
    {"settings",
     "data/info/tumb.db",
     Fault::Folder,
     {kTitle + QStringLiteral("File access denied.")},
     kNone},
    {"settings",
     "data/info/tumb.db",
     Fault::ReadOnly,
     {kTitle + QStringLiteral("File access denied.")},
     kNone},
    // a test reads its questions; a file without a count reads the missing-value marker
    {"test",
     "data/tests/test1.ini",
     Fault::Missing,
     {cannotOpen("data/tests/test1.ini", "No such file or directory")},
     kNone},
    {"test", "data/tests/test1.ini", Fault::Empty, {kNotInteger}, kNone},
    {"test", "data/tests/test1.ini", Fault::RandomBytes, {kNotInteger}, kNone},
    {"test", "data/tests/test1.ini", Fault::TenMegabytes, {kNotInteger}, kNone},
    {"test", "data/tests/test1.ini", Fault::MegabyteLine, {kNotInteger}, kNone},
    {"test",
     "data/tests/test1.ini",
     Fault::Folder,
     {cannotOpen("data/tests/test1.ini", "No such file or directory")},
     kNone},
    {"test", "data/tests/test1.ini", Fault::ReadOnly, {}, kNone},
    // the log screen reads the log; a finished test appends to it
    {"log view",
     "log.txt",
     Fault::Missing,
     {cannotOpen("log.txt", "No such file or directory")},
     kNone},
    {"log view", "log.txt", Fault::Empty, {}, kNone},
    {"log view", "log.txt", Fault::RandomBytes, {}, kNone},
    {"log view", "log.txt", Fault::TenMegabytes, {}, kNone},
    {"log view", "log.txt", Fault::MegabyteLine, {}, kNone},
    {"log view", "log.txt", Fault::Folder, {cannotOpen("log.txt", "Is a directory")}, kNone},
    {"log view", "log.txt", Fault::ReadOnly, {}, kNone},
    {"log line", "log.txt", Fault::Missing, {}, kLog},
    {"log line", "log.txt", Fault::Empty, {}, kLog},
    {"log line", "log.txt", Fault::RandomBytes, {}, kLog},
    {"log line", "log.txt", Fault::TenMegabytes, {}, kLog},
    {"log line", "log.txt", Fault::MegabyteLine, {}, kLog},
    {"log line", "log.txt", Fault::Folder, {kTitle + QStringLiteral("File access denied.")}, kNone},
    {"log line",
     "log.txt",
     Fault::ReadOnly,
     {kTitle + QStringLiteral("File access denied.")},
     kNone},
    // the scrambling tool converts a question source
    {"conversion",
     "source.txt",
     Fault::Missing,
     {kTitle + QStringLiteral("File not found.")},
     kNone},
    {"conversion", "source.txt", Fault::Empty, {}, kOutput},
    {"conversion", "source.txt", Fault::TenMegabytes, {}, kOutput},
    {"conversion",
     "source.txt",
     Fault::MegabyteLine,
     {kTitle +
      QStringLiteral(
          "Строка 1: Значение длиной 1048576 символов нельзя сохранить: самое большее 2047.")},
     kNone},
    {"conversion",
     "source.txt",
     Fault::Folder,
     {kTitle + QStringLiteral("File access denied.")},
     kNone},
    {"conversion", "source.txt", Fault::ReadOnly, {}, kOutput},
};

TEST(FaultTable, EveryDataFileInEveryBadState) {
    for (const Row& row : kRows) {
        SCOPED_TRACE(std::string(row.command) + " | " + row.file + " | " + faultName(row.fault));
        const TempFolder folder;
        prepareCourse(folder);
        stage(folder, QString::fromUtf8(row.file), row.fault);
        const Outcome outcome = runCommand(folder, row.command);
        EXPECT_EQ(outcome.boxes, inFolder(row.boxes, folder));
        EXPECT_EQ(outcome.changed, row.changed);
    }
}

// Random bytes as a question source are refused as no text (they hold zero bytes); without
// those, at the first line the test file cannot hold, naming it. Nothing is written.
TEST(FaultTable, RandomSourceIsRefusedAsNoTextOrByLine) {
    const TempFolder folder;
    prepareCourse(folder);
    stage(folder, QStringLiteral("source.txt"), Fault::RandomBytes);
    Outcome outcome = runCommand(folder, "conversion");
    ASSERT_EQ(outcome.boxes.size(), 1);
    EXPECT_TRUE(outcome.boxes.front().startsWith(
        kTitle + QStringLiteral("Файл source.txt не читается как текст: в нём нулевые байты")))
        << outcome.boxes.front().toStdString();
    EXPECT_EQ(outcome.changed, kNone);

    folder.write(QStringLiteral("source.txt"),
                 folder.read(QStringLiteral("source.txt")).replace('\0', 'x'));
    outcome = runCommand(folder, "conversion");
    ASSERT_EQ(outcome.boxes.size(), 1);
    EXPECT_TRUE(outcome.boxes.front().startsWith(kTitle + QStringLiteral("Строка 2: ")))
        << outcome.boxes.front().toStdString();
    EXPECT_EQ(outcome.changed, kNone);
}

} // namespace
