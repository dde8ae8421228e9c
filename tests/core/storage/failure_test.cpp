// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/storage/failure.h"
#include "core/storage/system_reason.h"
#include "support/temp_folder.h"

#include <QDir>
#include <cerrno>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

using namespace velmora;

namespace {

TEST(Failure, MessagesHaveTheExactTexts) {
    EXPECT_EQ(failures::invalidInteger(QStringLiteral("x")).message(),
              QStringLiteral("'x' is not a valid integer value"));
    EXPECT_EQ(failures::unableToWrite(QStringLiteral("/a/users.ini")).message(),
              QStringLiteral("Unable to write to /a/users.ini"));
    EXPECT_EQ(failures::cannotOpenFile(QStringLiteral("/a/log.txt"), ENOENT).message(),
              QStringLiteral("Cannot open file \"/a/log.txt\". No such file or directory"));
}

// The system's reasons, also when several threads make failures at once (the index thread does):
// each thread gets the text of its own error number, "Unknown error N" too.
TEST(Failure, SystemReasonsAreTheSystemsTextsOnEveryThread) {
    EXPECT_EQ(failures::systemReason(ENOENT), QStringLiteral("No such file or directory"));
    EXPECT_EQ(failures::systemReason(EACCES), QStringLiteral("Permission denied"));
    EXPECT_EQ(failures::systemReason(4321), QStringLiteral("Unknown error 4321"));
    std::vector<QString> seen(8);
    {
        std::vector<std::jthread> threads;
        threads.reserve(seen.size());
        for (int t = 0; t < 8; ++t) {
            threads.emplace_back([&seen, t] {
                for (int round = 0; round < 2000; ++round) {
                    const QString reason = failures::systemReason(5000 + t);
                    if (reason != QStringLiteral("Unknown error %1").arg(5000 + t)) {
                        seen[t] = reason;
                        return;
                    }
                }
            });
        }
    }
    for (const QString& wrong : seen) {
        EXPECT_EQ(wrong, QString());
    }
}

TEST(Failure, ErrorBoxAppendsAFullStopOnlyAfterLaterCharacters) {
    EXPECT_EQ(errorBoxText(QStringLiteral("File not found")), QStringLiteral("File not found."));
    EXPECT_EQ(errorBoxText(QStringLiteral("Done.")), QStringLiteral("Done."));
    EXPECT_EQ(errorBoxText(QStringLiteral("Really!")),
              QStringLiteral("Really!"));                                   // '!' sorts before '.'
    EXPECT_EQ(errorBoxText(QStringLiteral("a/b")), QStringLiteral("a/b.")); // '/' sorts after '.'
    EXPECT_EQ(errorBoxText(QStringLiteral("Пароль")), QStringLiteral("Пароль."));
    EXPECT_EQ(errorBoxText(QString()), QString());
}

TEST(Failure, IoErrorsMapFromErrorNumbers) {
    const test::TempFolder folder;
    const QString inFolder = folder.file(QStringLiteral("x.txt"));
    const QString missingFolder = folder.file(QStringLiteral("nope/x.txt"));
    EXPECT_EQ(failures::ioErrorText(ENOENT, inFolder), QStringLiteral("File not found"));
    EXPECT_EQ(failures::ioErrorText(ENOENT, missingFolder), QStringLiteral("Invalid filename"));
    EXPECT_EQ(failures::ioErrorText(ENOTDIR, inFolder), QStringLiteral("Invalid filename"));
    for (const int e : {EACCES, EPERM, EROFS, EISDIR}) {
        EXPECT_EQ(failures::ioErrorText(e, inFolder), QStringLiteral("File access denied"));
    }
    EXPECT_EQ(failures::ioErrorText(ENOSPC, inFolder), QStringLiteral("Disk full"));
#ifdef EDQUOT
    EXPECT_EQ(failures::ioErrorText(EDQUOT, inFolder), QStringLiteral("Disk full"));
#endif
    EXPECT_EQ(failures::ioErrorText(EIO, inFolder), QStringLiteral("I/O error %1").arg(EIO));
}

} // namespace
