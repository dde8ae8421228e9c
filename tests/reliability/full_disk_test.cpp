// SPDX-License-Identifier: GPL-3.0-or-later
// Every writing command on a full disk: the course folder lies on a small tmpfs that is filled to
// the last block (or to a stated number of free blocks) just before the command runs. Each row
// names the exact boxes shown, and every file of the folder but those the command wrote before
// the disk ran out keeps its bytes; no temporary or lock file is left behind.

#include "core/access/user_register.h"
#include "core/storage/code_page.h"
#include "course_commands.h"
#include "course_state.h"
#include "support/small_disk.h"
#include "support/temp_folder.h"

#include <functional>
#include <gtest/gtest.h>
#include <optional>

using namespace velmora;
using namespace velmora::test;

namespace {

const QString kTitle = QStringLiteral("ЭУИ Velmora: ");
const QString kUnableRegister = kTitle + QStringLiteral("Unable to write to %1/users.ini.");
const QString kListNoSpace =
    kTitle + QStringLiteral("Cannot create file \"%1/users\". No space left on device.");
const QString kRegistered =
    QStringLiteral("Information: Пользователь зарегистрирован.Нажмите \"Далее>>\"");
const QString kDiskFull = kTitle + QStringLiteral("Disk full.");
const QString kExitQuestion =
    QStringLiteral("Warning: Вы действительно хотите выйти из программы?");

// A second student, so that deleting Ivan leaves a register to write.
void addMaria(const TempFolder& folder) {
    if (!UserRegister::addStudent(QStringLiteral("Мария"), QStringLiteral("pw3"))) {
        ADD_FAILURE() << "cannot register Мария";
    }
    folder.write(QStringLiteral("users"), CodePage::encode(u"Ivan\r\nМария\r\n"));
}

// A name list of two blocks: what the register's rewrite gives back cannot hold its rewrite.
void lengthenList(const TempFolder& folder) {
    QByteArray list = folder.read(QStringLiteral("users"));
    for (int n = 0; n < 400; ++n) {
        list += CodePage::encode(QStringLiteral("Оқушы %1\r\n").arg(n, 3, 10, QLatin1Char('0')));
    }
    folder.write(QStringLiteral("users"), list);
}

// The log as whole lines filling exactly `bytes`: an append needs a block of its own.
void logOfLength(const TempFolder& folder, qint64 bytes) {
    const QByteArray line = "Ivan | 10:00:00 | 01.02.2026 | test1 | 5\r\n";
    QByteArray log = line.repeated(bytes / line.size() - 1);
    log += QByteArray(bytes - log.size() - 2, '-') + "\r\n";
    folder.write(QStringLiteral("log.txt"), log);
}

struct DiskRow {
    const char* command;
    const char* staging;
    qint64 roomBlocks; // blocks left free once the disk is filled
    std::function<void(const TempFolder&, const SmallDisk&)> stage; // before the window exists
    QStringList boxes; // "caption: text"; %1 stands for the course folder
    QStringList changed;
};

const auto kAsPrepared = [](const TempFolder&, const SmallDisk&) {};

const DiskRow kDiskRows[] = {
    {"registration", "full", 0, kAsPrepared, {kUnableRegister}, {}},
    // The register's rewrite takes the one free block and gives the old register's block back;
    // the longer name list then needs two, and the register's section is erased again.
    {"registration",
     "room for the register only",
     1,
     [](const TempFolder& f, const SmallDisk&) { lengthenList(f); },
     {kListNoSpace},
     {}},
    // Temporary files of writers killed mid-rewrite fill the disk: the next rewrite of the register
    // removes them, and the registration then has room.
    {"registration",
     "full of stale temporary files",
     0,
     [](const TempFolder& f, const SmallDisk& d) {
         f.write(QStringLiteral(".users.ini.Stale1"), QByteArray(2 * d.blockSize(), 's'));
     },
     {kRegistered},
     {QStringLiteral("users"), QStringLiteral("users.ini"), QStringLiteral(".users.ini.Stale1")}},
    {"deletion",
     "full",
     0,
     [](const TempFolder& f, const SmallDisk&) { addMaria(f); },
     {kUnableRegister},
     {}},
    {"deletion",
     "room for the register only",
     1,
     [](const TempFolder& f, const SmallDisk&) {
         addMaria(f);
         lengthenList(f);
     },
     {kListNoSpace},
     {QStringLiteral("users.ini")}},
    {"settings", "full", 0, kAsPrepared, {kDiskFull}, {}},
    {"settings", "one block free", 1, kAsPrepared, {}, {QStringLiteral("data/info/tumb.db")}},
    {"close", "full", 0, kAsPrepared, {kExitQuestion, kUnableRegister}, {}},
    {"log line",
     "full, the log's last block full",
     0,
     [](const TempFolder& f, const SmallDisk& d) { logOfLength(f, d.blockSize()); },
     {kDiskFull},
     {}},
    // The line's first bytes fit into the log's last block, the rest does not: the log is cut
    // back to its old length, so no half line is left.
    {"log line",
     "full, four bytes left in the log's last block",
     0,
     [](const TempFolder& f, const SmallDisk& d) { logOfLength(f, d.blockSize() - 4); },
     {kDiskFull},
     {}},
    // An append that fits into the log's last block needs no free one.
    {"log line",
     "full, room in the log's last block",
     0,
     kAsPrepared,
     {},
     {QStringLiteral("log.txt")}},
    {"test conversion",
     "full",
     0,
     kAsPrepared,
     {kTitle + QStringLiteral("Unable to write to %1/data/tests/test1.ini.")},
     {}},
};

TEST(FullDisk, EveryWritingCommandOnAFullDisk) {
    for (const DiskRow& row : kDiskRows) {
        SCOPED_TRACE(std::string(row.command) + " | " + row.staging);
        const SmallDisk disk;
        if (!disk.mounted()) {
            GTEST_SKIP() << disk.skipReason().toStdString();
        }
        const TempFolder folder(disk.path());
        prepareCourse(folder);
        row.stage(folder, disk);
        const Outcome outcome = runCommand(folder, row.command, [&](CourseDriver& course) {
            if (qstrcmp(row.command, "close") == 0) {
                course.signIn(QStringLiteral("Ivan"), QStringLiteral("pw"));
            }
            ASSERT_EQ(disk.fill(row.roomBlocks * disk.blockSize()),
                      row.roomBlocks * disk.blockSize());
        });
        EXPECT_EQ(outcome.boxes, inFolder(row.boxes, folder));
        EXPECT_EQ(outcome.changed, row.changed);
    }
}

} // namespace
