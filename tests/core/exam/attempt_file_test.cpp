// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exam/attempt_file.h"
#include "core/exam/time_limit.h"
#include "core/storage/failure.h"
#include "support/temp_folder.h"
#include "support/test_file_builder.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace velmora;
using namespace Qt::StringLiterals;
using velmora::test::numberedQuestions;
using velmora::test::TempFolder;
using velmora::test::writeTestFile;

namespace {

Attempt sample() {
    Attempt attempt;
    attempt.username = u"Әсел"_s;
    attempt.testname = u"test2"_s;
    attempt.plan.seed = 0x0123456789ABCDEFULL;
    attempt.plan.sections = {4, 1, 3};
    attempt.plan.orders = {{2, 1, 3, 5, 4}, {1, 2, 3, 4, 5}, {5, 4, 3, 2, 1}};
    attempt.chosen = {2, 5};
    attempt.correct = 1;
    attempt.started = QDateTime::fromMSecsSinceEpoch(1733700000123, Qt::UTC);
    attempt.testFile = u"0a1b2c3d"_s;
    return attempt;
}

TEST(AttemptFile, SavesAndLoadsBackWholeUnderAnyLetterCaseOfTheName) {
    const TempFolder folder;
    EXPECT_FALSE(AttemptFile::load(u"Әсел"_s));
    AttemptFile::save(sample());
    EXPECT_EQ(AttemptFile::load(u"ӘСЕЛ"_s), sample());
    EXPECT_EQ(AttemptFile::parse(AttemptFile::text(sample())), sample());
    // Saved again after an answer: the file holds the newer attempt, and no temporary file stays.
    Attempt later = sample();
    later.chosen.append(1);
    AttemptFile::save(later);
    EXPECT_EQ(AttemptFile::load(u"әсел"_s), later);
    EXPECT_EQ(QDir(u"attempts"_s).entryList(QDir::Files | QDir::Hidden).size(), 1);
    AttemptFile::remove(u"Әсел"_s);
    EXPECT_FALSE(AttemptFile::load(u"Әсел"_s));
    AttemptFile::remove(u"Әсел"_s); // nothing to remove is fine
}

TEST(AttemptFile, DamagedFilesAreRefusedWithTheirDamage) {
    const QByteArray whole = AttemptFile::text(sample());
    const auto cut = [&](const char* from, const char* to) {
        QByteArray text = whole;
        return text.replace(from, to);
    };
    const std::pair<const char*, QByteArray> rows[] = {
        {"empty", QByteArray()},
        {"other first line", cut("velmora attempt 1", "velmora attempt 9")},
        {"no seed", cut("seed=", "sead=")},
        {"seed not hex", cut("seed=0123456789abcdef", "seed=xyz")},
        {"unknown test", cut("test=test2", "test=lecture")},
        {"order not a permutation", cut("21354", "21355")},
        {"order too short", cut("21354", "2135")},
        {"chosen out of range", cut("chosen=2 5", "chosen=2 7")},
        {"more answers than asked", cut("chosen=2 5", "chosen=2 5 1 1")},
        {"fewer orders than asked", cut(" 54321", "")},
        {"correct above chosen", cut("correct=1", "correct=3")},
        {"cut short", whole.left(whole.indexOf("orders="))},
    };
    for (const auto& [name, text] : rows) {
        EXPECT_THROW(AttemptFile::parse(text), Failure) << name;
    }
}

TEST(AttemptFile, ADamagedFileIsSetAsideNotLost) {
    const TempFolder folder;
    AttemptFile::save(sample());
    folder.write(u"attempts/"_s + QFileInfo(AttemptFile::path(u"Әсел"_s)).fileName(), "junk");
    EXPECT_THROW(AttemptFile::load(u"Әсел"_s), Failure);
    const QString aside = AttemptFile::setAside(u"Әсел"_s);
    EXPECT_TRUE(aside.endsWith(u".damaged"_s)) << aside.toStdString();
    EXPECT_TRUE(QFileInfo(aside).isFile());
    EXPECT_FALSE(AttemptFile::load(u"Әсел"_s));
    // A second damaged file does not overwrite the first.
    AttemptFile::save(sample());
    EXPECT_TRUE(AttemptFile::setAside(u"Әсел"_s).endsWith(u".damaged2"_s));
}

TEST(AttemptFile, TheTestFilesFingerprintFollowsItsBytes) {
    const TempFolder folder;
    EXPECT_EQ(AttemptFile::testFingerprint(u"test1"_s), QString());
    writeTestFile(u"test1"_s, numberedQuestions({1, 2}), u"2"_s);
    const QString before = AttemptFile::testFingerprint(u"test1"_s);
    EXPECT_EQ(before.size(), 8);
    writeTestFile(u"test1"_s, numberedQuestions({1, 3}), u"2"_s);
    EXPECT_NE(AttemptFile::testFingerprint(u"test1"_s), before);
}

TEST(TimeLimit, CountsDownAndNeverGivesExtraTime) {
    const QDateTime start = QDateTime::fromMSecsSinceEpoch(1733700000000, Qt::UTC);
    struct Row {
        const char* name;
        int minutes;
        qint64 spent;
        qint64 running;
        qint64 left;
        const char* text;
    };
    const Row rows[] = {
        {"fresh", 1, 0, 0, 60000, "01:00"},
        {"running", 1, 0, 1500, 58500, "00:59"},
        {"away counts", 2, 90000, 0, 30000, "00:30"},
        {"away and running", 2, 90000, 29999, 1, "00:01"},
        {"over", 1, 0, 61000, 0, "00:00"},
        {"long away", 1, 3600000, 0, 0, "00:00"},
        {"clock set back on resume", 1, TimeLimit::spentSince(start, start.addSecs(-600)), 0, 60000,
         "01:00"},
        {"ten minutes", 10, TimeLimit::spentSince(start, start.addSecs(30)), 0, 570000, "09:30"},
    };
    for (const Row& row : rows) {
        const TimeLimit limit(row.minutes, row.spent);
        EXPECT_EQ(limit.leftMs(row.running), row.left) << row.name;
        EXPECT_EQ(TimeLimit::text(limit.leftMs(row.running)), QString::fromLatin1(row.text))
            << row.name;
    }
}

} // namespace
