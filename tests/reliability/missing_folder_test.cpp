// SPDX-License-Identifier: GPL-3.0-or-later
// Every data file in a missing folder: the folder of the settings, of the test files, of the log
// and of a question source is removed, or the program folder itself (the current directory) is
// removed while the program runs. Each row names the exact boxes shown; no file changes, and no
// write makes the missing folder again or puts its file anywhere else.

#include "course_commands.h"
#include "course_state.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

namespace {

const QString kTitle = QStringLiteral("ЭУИ Velmora: ");
const QString kInvalidFilename = kTitle + QStringLiteral("Invalid filename.");
const QString kRefused = QStringLiteral("Error: Проверьте правильность имени и пароля!");
const QString kExitQuestion =
    QStringLiteral("Warning: Вы действительно хотите выйти из программы?");

QString cannotOpen(const char* file) {
    return kTitle + QStringLiteral("Cannot open file \"%1/") + QString::fromUtf8(file) +
           QStringLiteral("\". No such file or directory.");
}

QString unableToWrite(const char* file) {
    return kTitle + QStringLiteral("Unable to write to %1/") + QString::fromUtf8(file) +
           QLatin1Char('.');
}

// The course with the log and a question source in folders of their own.
void prepareWithFolders(const TempFolder& folder) {
    prepareCourse(folder);
    folder.write(QStringLiteral("data/info/tumb.db"), "admin|secret|logs/log.txt\r\n");
    folder.write(QStringLiteral("logs/log.txt"), folder.read(QStringLiteral("log.txt")));
    folder.write(QStringLiteral("sources/source.txt"), folder.read(QStringLiteral("source.txt")));
}

struct MissingRow {
    const char* command;
    const char* folder; // the folder removed; "" for the program folder itself
    QStringList boxes;  // "caption: text"; %1 stands for the program folder
};

const MissingRow kMissingRows[] = {
    {"start-up", "data/info", {kInvalidFilename}},
    {"settings", "data/info", {kInvalidFilename}},
    {"test", "data/tests", {cannotOpen("data/tests/test1.ini")}},
    {"test conversion", "data/tests", {unableToWrite("data/tests/test1.ini")}},
    {"log view", "logs", {cannotOpen("logs/log.txt")}},
    {"log line", "logs", {kInvalidFilename}},
    {"conversion from a folder", "sources", {kInvalidFilename}},
    // The program folder is gone: the name list and the register are missing with it.
    {"start-up", "", {cannotOpen("users"), kInvalidFilename}},
    {"sign-in", "", {kRefused}},
    {"registration", "", {unableToWrite("users.ini")}},
    {"deletion", "", {kRefused}},
    {"close", "", {kExitQuestion, unableToWrite("users.ini")}},
    {"settings", "", {kInvalidFilename}},
    {"log line", "", {kInvalidFilename}},
};

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

TEST(MissingFolder, EveryDataFileInAMissingFolder) {
    for (const MissingRow& row : kMissingRows) {
        const QString removed = QString::fromUtf8(row.folder);
        SCOPED_TRACE(std::string(row.command) + " | " +
                     (removed.isEmpty() ? std::string("program folder") : removed.toStdString()));
#ifdef Q_OS_WIN
        if (removed.isEmpty()) {
            continue; // Windows removes no process's current folder: the program folder stays
        }
#endif
        const QTemporaryDir outer;
        const TempFolder folder(outer.path());
        prepareWithFolders(folder);
        const QStringList rootBefore = entries(QStringLiteral("/"));
        const Outcome outcome = runCommand(folder, row.command, [&](CourseDriver& course) {
            if (qstrcmp(row.command, "close") == 0) {
                course.signIn(QStringLiteral("Ivan"), QStringLiteral("pw"));
            }
            QDir(folder.file(removed)).removeRecursively();
        });
        EXPECT_EQ(outcome.boxes, inFolder(row.boxes, folder));
        EXPECT_EQ(outcome.changed, QStringList());
        EXPECT_FALSE(QFileInfo::exists(folder.file(removed))) << "the missing folder was made";
        // Nothing went to another place: not beside the program folder, not to the root folder.
        EXPECT_EQ(entries(outer.path()),
                  removed.isEmpty() ? QStringList() : QStringList{QDir(folder.path()).dirName()});
        EXPECT_EQ(entries(QStringLiteral("/")), rootBefore);
    }
}

} // namespace
