// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exam/answer_log.h"
#include "core/storage/code_page.h"
#include "support/same_path.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace velmora;
using namespace Qt::StringLiterals;
using velmora::test::TempFolder;

namespace {

TEST(AnswerLog, LivesBesideTheTestLogWithAnswersBeforeTheExtension) {
    const TempFolder folder;
    QDir().mkpath(QStringLiteral("Logs"));
    const QString here = QDir::currentPath() + QLatin1Char('/');
    EXPECT_EQ(AnswerLog::path(QStringLiteral("report.txt")), here + u"report.answers.txt"_s);
    EXPECT_TRUE(velmora::test::samePath(AnswerLog::path(QStringLiteral("logs\\tests.log")),
                                        here + u"Logs/tests.answers.log"_s));
    EXPECT_EQ(AnswerLog::path(QStringLiteral("a.b.txt")), here + u"a.b.answers.txt"_s);
    EXPECT_EQ(AnswerLog::path(QStringLiteral("report")), here + u"report.answers"_s);
    EXPECT_EQ(AnswerLog::path(QStringLiteral("  ")), QString());
}

TEST(AnswerLog, AppendsOneLineOfEightFieldsInTheCodePage) {
    const TempFolder folder;
    const AnsweredQuestion answered{7, 2, QStringLiteral("Что такое Velmora?"),
                                    QStringLiteral("3")};
    const AnswerLog::Answer answer =
        AnswerLog::of(QStringLiteral("Әсел"), QDateTime(QDate(2025, 2, 3), QTime(14, 5, 9)),
                      QStringLiteral("test1"), answered);
    const QString fingerprint = AnswerLog::fingerprint(answered.text);
    EXPECT_EQ(AnswerLog::line(answer),
              u"Әсел | 14:05:09 | 03.02.2025 | test1 | 7 | B | C | "_s + fingerprint);
    ASSERT_TRUE(AnswerLog::append(QStringLiteral("report.txt"), answer));
    EXPECT_EQ(folder.read(QStringLiteral("report.answers.txt")),
              CodePage::encode(AnswerLog::line(answer)) + "\r\n");
    // Eight hex digits that follow the question's text.
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9a-f]{8}$")).match(fingerprint).hasMatch());
    EXPECT_NE(fingerprint, AnswerLog::fingerprint(answered.text + QLatin1Char(' ')));
    // An "ap" that is not a plain digit names no correct answer.
    EXPECT_EQ(AnswerLog::of({}, {}, {}, {1, 1, {}, QStringLiteral("03")}).correct,
              QStringLiteral("?"));
    EXPECT_EQ(AnswerLog::of({}, {}, {}, {1, 9, {}, QStringLiteral("5")}).correct,
              QStringLiteral("E"));
}

TEST(AnswerLog, UnderTestSettingsALineEndsWithTheSeedAndThePlaceInTheAttempt) {
    AnsweredQuestion answered{7, 2, QStringLiteral("Вопрос"), QStringLiteral("3")};
    answered.asked = 4;
    answered.seed = 0xC0FFEE;
    const AnswerLog::Answer answer =
        AnswerLog::of(QStringLiteral("s"), QDateTime(QDate(2025, 2, 3), QTime(14, 5, 9)),
                      QStringLiteral("test2"), answered);
    EXPECT_EQ(AnswerLog::line(answer), u"s | 14:05:09 | 03.02.2025 | test2 | 7 | B | C | "_s +
                                           AnswerLog::fingerprint(answered.text) +
                                           u" | 0000000000c0ffee | 4"_s);
}

TEST(AnswerLog, AnAppendThatCannotBeWrittenIsRefusedQuietly) {
    const TempFolder folder;
    const AnswerLog::Answer answer{QStringLiteral("a"),     {},
                                   QStringLiteral("test1"), 1,
                                   QStringLiteral("A"),     QStringLiteral("A"),
                                   QStringLiteral("q")};
    EXPECT_FALSE(AnswerLog::append(QString(), answer));
    EXPECT_FALSE(AnswerLog::append(QStringLiteral("nowhere/report.txt"), answer));
    QDir().mkpath(QStringLiteral("report.answers.txt"));
    EXPECT_FALSE(AnswerLog::append(QStringLiteral("report.txt"), answer));
}

} // namespace
