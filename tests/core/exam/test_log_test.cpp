// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exam/answer_log.h"
#include "core/exam/test_log.h"
#include "core/storage/code_page.h"
#include "core/storage/failure.h"
#include "support/same_path.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::TempFolder;

namespace {

const QDateTime kWhen(QDate(2025, 2, 7), QTime(9, 5, 3));

QString failureOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Failure& f) {
        return f.message();
    }
    return QStringLiteral("(no failure)");
}

TEST(TestLog, LineHoldsFiveFieldsJoinedByBars) {
    const QString line =
        TestLog::line(QStringLiteral("Әсел Нұрова"), kWhen, QStringLiteral("test3"), 4);
    EXPECT_EQ(line, QStringLiteral("Әсел Нұрова | 09:05:03 | 07.02.2025 | test3 | 4"));
    const QStringList fields =
        TestLog::line(QStringLiteral("admin"), QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59)),
                      QStringLiteral("test10"), 1)
            .split(QStringLiteral(" | "));
    EXPECT_EQ(fields, (QStringList{QStringLiteral("admin"), QStringLiteral("23:59:59"),
                                   QStringLiteral("31.12.1999"), QStringLiteral("test10"),
                                   QStringLiteral("1")}));
}

TEST(TestLog, AppendsLinesInTheCodePageAndReadsThemBackInOrder) {
    const TempFolder folder;
    const QString first = TestLog::line(QStringLiteral("Айгүл"), kWhen, QStringLiteral("test1"), 5);
    const QString second =
        TestLog::line(QStringLiteral("Бекзат"), kWhen.addSecs(60), QStringLiteral("test2"), 2);
    TestLog::append(QStringLiteral("report.txt"), first);
    TestLog::append(QStringLiteral("report.txt"), second);
    EXPECT_EQ(folder.read(QStringLiteral("report.txt")),
              CodePage::encode(first) + "\r\n" + CodePage::encode(second) + "\r\n");
    EXPECT_EQ(TestLog::read(QStringLiteral("report.txt")), (QStringList{first, second}));
}

// A log edited by hand may end without its line break: the next line still starts a line of its
// own, in the test log and in the answer log alike.
TEST(TestLog, AnAppendAfterAnUnendedLastLineStartsANewLine) {
    const TempFolder folder;
    const AnswerLog::Answer answer{QStringLiteral("b"),     kWhen,
                                   QStringLiteral("test1"), 1,
                                   QStringLiteral("A"),     QStringLiteral("A"),
                                   QStringLiteral("q")};
    const QByteArray answerLine = CodePage::encode(AnswerLog::line(answer)) + "\r\n";
    struct Case {
        QByteArray before;
        QByteArray kept; // what stands before the appended line afterwards
    };
    const Case cases[] = {
        {"", ""},
        {"a | 1\r\n", "a | 1\r\n"},
        {"a | 1", "a | 1\r\n"},
        {"a | 1\r\nb | 2", "a | 1\r\nb | 2\r\n"},
        {"a | 1\n", "a | 1\n"},
        {"a | 1\r", "a | 1\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.before.toStdString());
        folder.write(QStringLiteral("report.txt"), c.before);
        folder.write(QStringLiteral("report.answers.txt"), c.before);
        TestLog::append(QStringLiteral("report.txt"), QStringLiteral("x | 5"));
        ASSERT_TRUE(AnswerLog::append(QStringLiteral("report.txt"), answer));
        EXPECT_EQ(folder.read(QStringLiteral("report.txt")), c.kept + "x | 5\r\n");
        EXPECT_EQ(folder.read(QStringLiteral("report.answers.txt")), c.kept + answerLine);
        EXPECT_EQ(TestLog::read(QStringLiteral("report.txt")).last(), QStringLiteral("x | 5"));
    }
}

TEST(TestLog, RelativePathsWithBackslashesAreTakenFromTheCurrentDirectory) {
    const TempFolder folder;
    QDir().mkpath(QStringLiteral("Logs"));
    TestLog::append(QStringLiteral("logs\\tests.log"), QStringLiteral("x | 1"));
    EXPECT_EQ(folder.read(QStringLiteral("Logs/tests.log")), QByteArray("x | 1\r\n"));
    const QString absolute = folder.file(QStringLiteral("Logs/tests.log"));
    EXPECT_EQ(TestLog::read(absolute), QStringList{QStringLiteral("x | 1")});
    EXPECT_TRUE(
        velmora::test::samePath(TestLog::path(QStringLiteral("logs\\tests.log")), absolute));
}

TEST(TestLog, ReadAcceptsBareLineFeedsAndAnEmptyLog) {
    const TempFolder folder;
    folder.write(QStringLiteral("log"), "a\nb\r\nc");
    EXPECT_EQ(TestLog::read(QStringLiteral("log")),
              (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
    folder.write(QStringLiteral("log"), "");
    EXPECT_TRUE(TestLog::read(QStringLiteral("log")).isEmpty());
}

TEST(TestLog, AppendFailuresGiveTheInputOutputErrors) {
    const TempFolder folder;
    EXPECT_EQ(failureOf([] {
                  TestLog::append(QStringLiteral("nowhere/report.txt"), QStringLiteral("x"));
              }),
              QStringLiteral("Invalid filename"));
    EXPECT_EQ(failureOf([] { TestLog::append(QString(), QStringLiteral("x")); }),
              QStringLiteral("File not found"));
    QDir().mkpath(QStringLiteral("folder"));
    EXPECT_EQ(failureOf([] { TestLog::append(QStringLiteral("folder"), QStringLiteral("x")); }),
              QStringLiteral("File access denied"));
    folder.write(QStringLiteral("locked.txt"), "old\r\n");
    QFile::setPermissions(folder.file(QStringLiteral("locked.txt")), QFile::ReadOwner);
    EXPECT_EQ(failureOf([] { TestLog::append(QStringLiteral("locked.txt"), QStringLiteral("x")); }),
              QStringLiteral("File access denied"));
    EXPECT_EQ(folder.read(QStringLiteral("locked.txt")), QByteArray("old\r\n"));
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("nowhere"))));
}

TEST(TestLog, ReadFailuresNameTheFullPath) {
    const TempFolder folder;
    const QString missing = failureOf([] { TestLog::read(QStringLiteral("report.txt")); });
    EXPECT_TRUE(missing.startsWith(
        QStringLiteral("Cannot open file \"%1\". ").arg(folder.file(QStringLiteral("report.txt")))))
        << missing.toStdString();
    EXPECT_TRUE(failureOf([] {
                    TestLog::read(QString());
                }).startsWith(QStringLiteral("Cannot open file \"")));
    EXPECT_TRUE(failureOf([] { TestLog::read(QStringLiteral("no/such/log")); })
                    .startsWith(QStringLiteral("Cannot open file \"%1\"")
                                    .arg(folder.file(QStringLiteral("no/such/log")))));
}

} // namespace
