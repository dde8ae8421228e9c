// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exam/log_lines.h"
#include "core/exam/question_statistics.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

TEST(LogLines, SplitAtBarsBetweenBlanksAndAtEveryLineEnd) {
    QList<QStringList> lines;
    forEachLogLine("a | b\rc | d\r\n\ne |  | f\nx|y | z |", [&](const LogFields& fields) {
        QStringList line;
        for (const QByteArrayView field : fields) {
            line.append(QString::fromLatin1(field));
        }
        lines.append(line);
    });
    EXPECT_EQ(lines, (QList<QStringList>{{u"a"_s, u"b"_s},
                                         {u"c"_s, u"d"_s},
                                         {u"e"_s, QString(), u"f"_s},
                                         {u"x|y"_s, u"z |"_s}}));
}

TEST(LogLines, AMomentIsOneThatAClockAndACalendarShow) {
    struct Row {
        const char* time;
        const char* date;
        std::optional<qint64> moment;
    };
    const Row rows[] = {
        {"14:05:09", "03.02.2025", 20250203140509}, {"00:00:00", "29.02.2024", 20240229000000},
        {"23:59:59", "31.12.2025", 20251231235959}, {"25:99:00", "03.02.2025", std::nullopt},
        {"24:00:00", "03.02.2025", std::nullopt},   {"12:60:00", "03.02.2025", std::nullopt},
        {"12:00:60", "03.02.2025", std::nullopt},   {"14:05:09", "32.13.2025", std::nullopt},
        {"14:05:09", "29.02.2025", std::nullopt},   {"14:05:09", "31.04.2025", std::nullopt},
        {"14:05:09", "00.01.2025", std::nullopt},   {"14:05:09", "01.00.2025", std::nullopt},
        {"14:05:09", "01.01.0000", std::nullopt},   {"14:05", "03.02.2025", std::nullopt},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(logMoment(row.time, row.date), row.moment) << row.time << " " << row.date;
    }
}

TEST(QuestionVerdict, NeedsFiveAnswersToCallAQuestionTooHard) {
    const auto verdict = [](int answers, int correct) {
        QuestionTally tally;
        tally.answers = answers;
        tally.correctAnswers = correct;
        return tally.verdict();
    };
    EXPECT_EQ(verdict(4, 0), QString());
    EXPECT_EQ(verdict(10, 2), QStringLiteral("слишком трудный"));
    EXPECT_EQ(verdict(10, 3), QString());
    EXPECT_EQ(verdict(20, 19), QString());
    EXPECT_EQ(verdict(40, 39), QStringLiteral("слишком лёгкий"));
    EXPECT_EQ(verdict(0, 0), QString());
}

} // namespace
