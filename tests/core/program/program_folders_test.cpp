// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/program/program_folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <gtest/gtest.h>

using velmora::ProgramFolders;

namespace {

// The test program's own name comes back after each test.
class ProgramFoldersTest : public ::testing::Test {
protected:
    void TearDown() override { QCoreApplication::setApplicationName(name_); }

    // The cache folder the application would use under `name`, emptied, with `files` in it.
    static QString cacheOf(const QString& name,
                           const QList<std::pair<QString, QByteArray>>& files) {
        QCoreApplication::setApplicationName(name);
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
        QDir(folder).removeRecursively();
        for (const auto& [file, bytes] : files) {
            QDir().mkpath(folder);
            QFile out(QDir(folder).filePath(file));
            EXPECT_TRUE(out.open(QIODevice::WriteOnly));
            out.write(bytes);
        }
        return folder;
    }

    static QByteArray read(const QString& path) {
        QFile in(path);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("(missing)");
    }

private:
    QString name_ = QCoreApplication::applicationName();
};

const QString kCaption = QStringLiteral("ЭУИ Velmora");

// The folders carry the program's id, never the caption, and an index the earlier name's cache
// held is found in the new one.
TEST_F(ProgramFoldersTest, FoldersAreNamedAfterTheIdAndTheOldIndexMovesOver) {
    const QString old = cacheOf(kCaption, {{QStringLiteral("search-1.sqlite"), "index 1"}});
    const QString now = cacheOf(QStringLiteral("velmora"), {});
    QCoreApplication::setApplicationName(kCaption);
    ProgramFolders::nameApplication();
    for (const auto location : {QStandardPaths::CacheLocation, QStandardPaths::AppConfigLocation}) {
        const QString folder = QStandardPaths::writableLocation(location);
        EXPECT_TRUE(folder.split(u'/').contains(QStringLiteral("velmora"))) << folder.toStdString();
        EXPECT_FALSE(folder.contains(kCaption)) << folder.toStdString();
    }
    EXPECT_EQ(QStandardPaths::writableLocation(QStandardPaths::CacheLocation), now);
    EXPECT_EQ(read(QDir(now).filePath(QStringLiteral("search-1.sqlite"))), "index 1");
    EXPECT_FALSE(QDir(old).exists());
}

// Once both exist (an earlier version ran again), the newer index stays, the missing one comes
// over, and the old folder goes; a second start finds nothing to move.
TEST_F(ProgramFoldersTest, AnIndexAlreadyInTheNewFolderStays) {
    const QString now =
        cacheOf(QStringLiteral("velmora"), {{QStringLiteral("search-1.sqlite"), "new 1"}});
    const QString old = cacheOf(kCaption, {{QStringLiteral("search-1.sqlite"), "old 1"},
                                           {QStringLiteral("search-2.sqlite"), "old 2"}});
    ProgramFolders::nameApplication();
    EXPECT_EQ(read(QDir(now).filePath(QStringLiteral("search-1.sqlite"))), "new 1");
    EXPECT_EQ(read(QDir(now).filePath(QStringLiteral("search-2.sqlite"))), "old 2");
    EXPECT_FALSE(QDir(old).exists());
    ProgramFolders::nameApplication();
    EXPECT_EQ(QDir(now).entryList(QDir::Files).size(), 2);
    EXPECT_FALSE(QDir(old).exists());
}

} // namespace
