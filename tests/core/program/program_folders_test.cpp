// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/program/program_folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

// The cache folder of the application named `name`, holding exactly `files` (missing without).
QString cacheOf(const QString& name, const QList<std::pair<const char*, QByteArray>>& files) {
    QCoreApplication::setApplicationName(name);
    QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    QDir(folder).removeRecursively();
    for (const auto& [file, bytes] : files) {
        QDir().mkpath(folder);
        QFile out(QDir(folder).filePath(QString::fromUtf8(file)));
        EXPECT_TRUE(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size());
    }
    return folder;
}

QByteArray read(const QString& folder, const char* file) {
    QFile in(QDir(folder).filePath(QString::fromUtf8(file)));
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("(missing)");
}

// The folders carry the program's id, never the windows' caption. The index the earlier folder
// held comes over, unless the new folder has its own, and the earlier folder goes.
TEST(ProgramFolders, AreNamedAfterTheIdAndTakeOverTheEarlierIndexOnce) {
    const QString testName = QCoreApplication::applicationName();
    const QString caption = QStringLiteral("ЭУИ Velmora");
    for (const bool newIndexFirst : {false, true}) {
        SCOPED_TRACE(newIndexFirst);
        const QString now = cacheOf(QStringLiteral("velmora"), {});
        if (newIndexFirst) {
            cacheOf(QStringLiteral("velmora"), {{"search-1.sqlite", "new 1"}});
        }
        const QString old =
            cacheOf(caption, {{"search-1.sqlite", "old 1"}, {"search-2.sqlite", "old 2"}});
        velmora::ProgramFolders::nameApplication();
        for (const auto where :
             {QStandardPaths::CacheLocation, QStandardPaths::AppConfigLocation}) {
            const QString folder = QStandardPaths::writableLocation(where);
            EXPECT_TRUE(folder.split(u'/').contains(QStringLiteral("velmora")) &&
                        !folder.contains(caption))
                << folder.toStdString();
        }
        EXPECT_EQ(QStandardPaths::writableLocation(QStandardPaths::CacheLocation), now);
        EXPECT_EQ(read(now, "search-1.sqlite"), newIndexFirst ? "new 1" : "old 1");
        EXPECT_EQ(read(now, "search-2.sqlite"), "old 2");
        EXPECT_FALSE(QDir(old).exists());
        velmora::ProgramFolders::nameApplication(); // a second start finds nothing to move
        EXPECT_EQ(QDir(now).entryList(QDir::Files).size(), 2);
    }
    QCoreApplication::setApplicationName(testName);
}

} // namespace
