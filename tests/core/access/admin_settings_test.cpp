// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/access/access_texts.h"
#include "core/access/admin_settings.h"
#include "core/storage/code_page.h"
#include "core/storage/failure.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::TempFolder;

namespace {

const QString kFile = QStringLiteral("data/info/tumb.db");

AdminSettings settings(const char* login, const char* password, const char* reportFile) {
    return {QString::fromUtf8(login), QString::fromUtf8(password), QString::fromUtf8(reportFile)};
}

TEST(AdminSettingsLine, SplitsAtEveryBarAndKeepsFieldsAsTheyStand) {
    struct Case {
        const char* line;
        AdminSettings expected;
    };
    const Case cases[] = {
        {"admin|admin|data\\info\\report.txt",
         settings("admin", "admin", "data\\info\\report.txt")},
        {"admin", settings("admin", "", "")},
        {"", settings("", "", "")},
        {"a|b", settings("a", "b", "")},
        {"|pw|", settings("", "pw", "")},
        {" admin | pw |log.txt ", settings(" admin ", " pw ", "log.txt ")},
        {"a|b|c|d|e", settings("a", "b", "c")},
        {"a|b||d", settings("a", "b", "")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AdminSettings::fromLine(QString::fromUtf8(c.line)), c.expected) << c.line;
    }
    EXPECT_EQ(settings("a", "", "c").line(), QStringLiteral("a||c"));
}

TEST(AdminSettingsFile, ReadsOnlyTheFirstLine) {
    const TempFolder folder;
    folder.write(kFile, CodePage::encode(u"Әкімші|құпия|log.txt\r\nsecond|line|x\r\n"));
    EXPECT_EQ(AdminSettings::read(),
              (AdminSettings{QStringLiteral("Әкімші"), QStringLiteral("құпия"),
                             QStringLiteral("log.txt")}));
    folder.write(kFile, "a|b|c\nz");
    EXPECT_EQ(AdminSettings::read(), settings("a", "b", "c"));
    folder.write(kFile, "a|b|c");
    EXPECT_EQ(AdminSettings::read(), settings("a", "b", "c"));
    folder.write(kFile, QByteArray());
    EXPECT_EQ(AdminSettings::read(), settings("", "", ""));
}

TEST(AdminSettingsFile, ReadFailuresUseTheInputOutputTexts) {
    const TempFolder folder;
    const auto readError = []() -> QString {
        try {
            (void)AdminSettings::read();
        } catch (const Failure& f) {
            return f.message();
        }
        return QStringLiteral("no failure");
    };
    EXPECT_EQ(readError(), QStringLiteral("Invalid filename")); // no data/info folder
    QDir().mkpath(QStringLiteral("data/info"));
    EXPECT_EQ(readError(), QStringLiteral("File not found"));
    QDir().mkpath(kFile); // a folder where the file should be
    EXPECT_EQ(readError(), QStringLiteral("File access denied"));
}

TEST(AdminSettingsFile, WriteReplacesTheWholeFileWithOneLine) {
    const TempFolder folder;
    folder.write(kFile, "old|line|x\r\nsecond line\r\n");
    AdminSettings{QStringLiteral("Бас"), QString(), QStringLiteral("report.txt")}.write();
    EXPECT_EQ(folder.read(kFile), CodePage::encode(u"Бас||report.txt\r\n"));
    EXPECT_EQ(QDir(folder.file(QStringLiteral("data/info"))).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("tumb.db")});
}

TEST(AdminSettingsFile, WriteFailuresUseTheInputOutputTextsAndKeepTheFile) {
    const TempFolder folder;
    const auto writeError = []() -> QString {
        try {
            settings("new", "pw", "log").write();
        } catch (const Failure& f) {
            return f.message();
        }
        return QStringLiteral("no failure");
    };
    EXPECT_EQ(writeError(), QStringLiteral("Invalid filename"));
    folder.write(kFile, "old|pw|log\r\n");
    QFile::setPermissions(folder.file(kFile), QFile::ReadOwner);
    EXPECT_EQ(writeError(), QStringLiteral("File access denied"));
    EXPECT_EQ(folder.read(kFile), QByteArray("old|pw|log\r\n"));
}

TEST(AdminSettingsApply, RefusesWhatWouldBreakTheLine) {
    struct Case {
        const char* login;
        const char* password;
        const char* again;
        const char* file;
        std::optional<QString> expected;
    };
    const Case cases[] = {
        {"admin", "pw", "pw", "log.txt", std::nullopt},
        {"admin", "", "", "log.txt", std::nullopt},
        {" admin ", " ", " ", " log ", std::nullopt},
        {"admin", "pw", "pw2", "log.txt", texts::checkPassword()},
        {"admin", "pw", "PW", "log.txt", texts::checkPassword()},
        {"", "pw", "pw2", "log.txt", texts::checkPassword()}, // the passwords are checked first
        {"", "pw", "pw", "log.txt", texts::invalidAdminSettings()},
        {"ad|min", "pw", "pw", "log.txt", texts::invalidAdminSettings()},
        {"admin", "p|w", "p|w", "log.txt", texts::invalidAdminSettings()},
        {"admin", "pw", "pw", "log|txt", texts::invalidAdminSettings()},
        {"admin\n", "pw", "pw", "log.txt", texts::invalidAdminSettings()},
        {"admin", "pw", "pw", "log\r", texts::invalidAdminSettings()},
        // No file to write the log to: none named, a folder, a name ending in a separator.
        {"admin", "pw", "pw", "", texts::invalidReportFile()},
        {"admin", "pw", "pw", "  ", texts::invalidReportFile()},
        {"admin", "pw", "pw", "logs", texts::invalidReportFile()},
        {"admin", "pw", "pw", "LOGS", texts::invalidReportFile()},
        {"admin", "pw", "pw", "logs\\", texts::invalidReportFile()},
        {"admin", "pw", "pw", "new\\", texts::invalidReportFile()},
        {"admin", "pw", "pw", "new/", texts::invalidReportFile()},
        {"admin", "pw", "pw", "logs\\report.txt", std::nullopt},
        {"admin", "pw", "pw2", "", texts::checkPassword()},
        {"", "pw", "pw", "", texts::invalidAdminSettings()},
    };
    const TempFolder folder;
    QDir().mkpath(QStringLiteral("logs"));
    for (const Case& c : cases) {
        EXPECT_EQ(
            AdminSettings::applyRefusal(QString::fromUtf8(c.login), QString::fromUtf8(c.password),
                                        QString::fromUtf8(c.again), QString::fromUtf8(c.file)),
            c.expected)
            << c.login << "|" << c.password << "|" << c.again << "|" << c.file;
    }
}

} // namespace
