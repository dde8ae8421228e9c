// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/access/group_journal.h"
#include "core/access/journal_table.h"
#include "core/course/course_book.h"
#include "core/exam/answer_log.h"
#include "core/exam/log_lines.h"
#include "core/exam/question_statistics.h"
#include "core/exam/test_log.h"
#include "core/storage/code_page.h"
#include "core/storage/scrambled_store.h"
#include "support/temp_folder.h"
#include "support/test_file_builder.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace Qt::StringLiterals;
using velmora::test::numberedQuestions;
using velmora::test::TempFolder;
using velmora::test::writeTestFile;

namespace {

const QString kDash = QStringLiteral("—");

void storeStudent(const QString& name, const QStringList& grades) {
    writeini(name, QStringLiteral("password"), QStringLiteral("p"), QStringLiteral("\\users.ini"));
    for (qsizetype n = 0; n < grades.size(); ++n) {
        writeini(name, QStringLiteral("test%1").arg(n + 1), grades[n],
                 QStringLiteral("\\users.ini"));
    }
}

QByteArray lines(const QStringList& lines) {
    return CodePage::encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

// Three tests have files (1, 2 and 4); the list names Айгүл, a name without a section, and
// Бекзат; Нұрлан is registered but missing from the list.
class GroupJournalFiles : public ::testing::Test {
protected:
    GroupJournalFiles() {
        for (const QString& test :
             {QStringLiteral("test1"), QStringLiteral("test2"), QStringLiteral("test4")}) {
            writeTestFile(test, numberedQuestions({1, 2}), QStringLiteral("2"));
        }
        storeStudent(QStringLiteral("Айгүл"), QStringLiteral("5 2 0 4").split(u' '));
        storeStudent(QStringLiteral("Бекзат"), QStringLiteral("1 0 0 0").split(u' '));
        storeStudent(QStringLiteral("Нұрлан"), QStringLiteral("3 0 0 0").split(u' '));
        folder_.write(QStringLiteral("users"), CodePage::encode(u"Айгүл\r\nГость\r\nбекзат\r\n"));
        folder_.write(QStringLiteral("data/info/tumb.db"), "admin|admin|report.txt\r\n");
    }
    TempFolder folder_;
};

TEST_F(GroupJournalFiles, ATestCountsAsTakenOnlyWithATestLogLine) {
    folder_.write(QStringLiteral("report.txt"),
                  lines({QStringLiteral("Айгүл | 10:00:00 | 01.02.2025 | test1 | 3"),
                         QStringLiteral("АЙГҮЛ | 11:30:00 | 02.02.2025 | test1 | 5"),
                         QStringLiteral("Айгүл | 12:00:00 | 02.02.2025 | test2 | 2"),
                         QStringLiteral("Нұрлан | 09:00:00 | 03.02.2025 | test1 | 3"),
                         QStringLiteral("admin | 09:00:00 | 03.02.2025 | test1 | 5")}));
    const GroupJournal journal = GroupJournal::read(QStringLiteral("report.txt"));
    EXPECT_EQ(journal.tests(), (QList<int>{1, 2, 4}));
    const JournalTable table = JournalTable::of(journal);
    EXPECT_EQ(table.header(), (QStringList{u"Студент"_s, u"Тест 1"_s, u"Тест 2"_s, u"Тест 4"_s,
                                           u"Средний балл"_s}));
    // Бекзат's stored u"1"_s for test 1 is the registration's, not a grade: no log line, no grade.
    EXPECT_EQ(table.rows(),
              (QList<QStringList>{{u"Айгүл"_s, u"5"_s, u"2"_s, kDash, u"3,50"_s},
                                  {u"Гость"_s, kDash, kDash, kDash, kDash},
                                  {u"бекзат"_s, kDash, kDash, kDash, kDash},
                                  {u"Нұрлан (нет в списке)"_s, u"3"_s, kDash, kDash, u"3,00"_s}}));
    const JournalAttempts& attempts = journal.students()[0].attempts[1];
    EXPECT_EQ(attempts.count, 2);
    EXPECT_EQ(attempts.last, QStringLiteral("02.02.2025 11:30:00"));
    // No answer log: every finished test lacks its answer lines.
    EXPECT_EQ(journal.notes(), QStringList{QStringLiteral("тестов без строк ответов: 4")});

    const JournalTestSummary first = journal.summary(1);
    EXPECT_EQ(first.taken, 2);
    EXPECT_DOUBLE_EQ(first.mean, 4.0);
    EXPECT_DOUBLE_EQ(first.passedShare, 1.0);
    EXPECT_EQ(first.counts, (std::array<int, 6>{0, 0, 0, 1, 0, 1}));
    EXPECT_DOUBLE_EQ(journal.summary(2).passedShare, 0.0);
    EXPECT_EQ(journal.summary(4).taken, 0);
}

// The journal follows the course it is handed: its tests are the columns (a test file of no test
// of the course makes none), its pass grade decides the passed share, and the scrambled register is
// read through the user register as the program reads it.
TEST_F(GroupJournalFiles, ColumnsAndPassGradeFollowTheCourse) {
    writeTestFile(QStringLiteral("test3"), numberedQuestions({1}), QStringLiteral("1"));
    CourseBook course;
    course.passGrade = 4;
    course.gradeSlots = 3;
    CourseMenu menu;
    for (const int test : {3, 1, 2}) {
        CourseItem item;
        item.name = QStringLiteral("test%1").arg(test);
        item.kind = CourseItemKind::Test;
        item.test = test;
        menu.items.push_back(item);
    }
    course.menus.push_back(menu);
    folder_.write(QStringLiteral("report.txt"),
                  lines({QStringLiteral("Айгүл | 10:00:00 | 01.02.2025 | test1 | 5"),
                         QStringLiteral("Айгүл | 10:10:00 | 01.02.2025 | test2 | 2"),
                         QStringLiteral("Нұрлан | 09:00:00 | 03.02.2025 | test1 | 3"),
                         QStringLiteral("Нұрлан | 09:30:00 | 03.02.2025 | test4 | 5")}));
    const GroupJournal journal = GroupJournal::read(QStringLiteral("report.txt"), course);
    EXPECT_EQ(journal.tests(), (QList<int>{1, 2, 3}));
    const JournalTable table = JournalTable::of(journal);
    EXPECT_EQ(table.header(), (QStringList{u"Студент"_s, u"Тест 1"_s, u"Тест 2"_s, u"Тест 3"_s,
                                           u"Средний балл"_s}));
    EXPECT_EQ(table.rows()[0], (QStringList{u"Айгүл"_s, u"5"_s, u"2"_s, kDash, u"3,50"_s}));
    EXPECT_EQ(journal.skippedLogLines(), 1);               // test4 is no test of the course
    EXPECT_DOUBLE_EQ(journal.summary(1).passedShare, 0.5); // 5 passes, 3 does not
}

TEST_F(GroupJournalFiles, BadLogLinesAreCountedAndNeverMakeACell) {
    folder_.write(QStringLiteral("report.txt"),
                  lines({QStringLiteral("Айгүл | 10:00:00 | 01.02.2025 | test1"),
                         QStringLiteral("Айгүл | 10:00:00 | 01.02.2025 | test3 | 4"),
                         QStringLiteral("Айгүл | 10:00:00 | 01.02.2025 | exam | 4"),
                         QStringLiteral("Айгүл | 10:00:00 | 01.02.2025 | test4 | 7"),
                         QStringLiteral("Айгүл | 10:00:00 | 01.02.2025 | test4 | -1"),
                         QStringLiteral("Айгүл | 10:00:00 | 01.02.2025 | test2 | 2 | x"),
                         QStringLiteral("Айгүл | 10:00:00 | 01.02.2025 | test2 | 2")}));
    const GroupJournal journal = GroupJournal::read(QStringLiteral("report.txt"));
    EXPECT_EQ(journal.skippedLogLines(), 6);
    EXPECT_EQ(JournalTable::of(journal).rows()[0],
              (QStringList{u"Айгүл"_s, kDash, u"2"_s, kDash, u"2,00"_s}));
    EXPECT_EQ(journal.notes().first(), QStringLiteral("строк журнала пропущено: 6"));
}

// A line of a name the register lacks (a student deleted since, a typing slip in the log) and a
// line whose time or date no clock shows are counted, never taken as a finished test. The
// administrator's own trial runs are neither shown nor counted.
TEST_F(GroupJournalFiles, LinesOfUnknownNamesAndImpossibleMomentsAreCounted) {
    folder_.write(QStringLiteral("report.txt"),
                  lines({u"Удалённый | 10:00:00 | 01.02.2025 | test1 | 4"_s,
                         u"Айгүл | 25:99:00 | 01.02.2025 | test1 | 5"_s,
                         u"Айгүл | 10:00:00 | 32.13.2025 | test2 | 4"_s,
                         u"Айгүл | 10:00:00 | 29.02.2025 | test2 | 4"_s,
                         u"Айгүл | 10:00:00 | 00.01.2025 | test2 | 4"_s,
                         u"Айгүл | 24:00:00 | 01.01.2025 | test2 | 4"_s,
                         u"Айгүл | 1O:00:00 | 01.01.2025 | test2 | 4"_s,
                         u"admin | 09:00:00 | 03.02.2025 | test1 | 5"_s,
                         u"Айгүл | 23:59:59 | 29.02.2024 | test4 | 4"_s}));
    const GroupJournal journal = GroupJournal::read(QStringLiteral("report.txt"));
    EXPECT_EQ(journal.skippedLogLines(), 7);
    EXPECT_EQ(JournalTable::of(journal).rows()[0],
              (QStringList{u"Айгүл"_s, kDash, kDash, u"4"_s, u"4,00"_s}));
    EXPECT_EQ(journal.summary(1).taken, 0);
    EXPECT_EQ(journal.notes().first(), QStringLiteral("строк журнала пропущено: 7"));
}

TEST_F(GroupJournalFiles, AMissingLogIsANoteAndEveryCellNotTaken) {
    const GroupJournal journal = GroupJournal::read(QStringLiteral("absent.txt"));
    ASSERT_EQ(journal.students().size(), 4);
    EXPECT_EQ(JournalTable::of(journal).rows()[0],
              (QStringList{u"Айгүл"_s, kDash, kDash, kDash, kDash}));
    ASSERT_FALSE(journal.notes().isEmpty());
    EXPECT_TRUE(journal.notes()[0].startsWith(
        QStringLiteral("журнал тестов не прочитан: Cannot open file")))
        << journal.notes()[0].toStdString();
}

TEST_F(GroupJournalFiles, AnswerLinesOfTheFirstQuestionMarkAnAttemptAsAnswered) {
    folder_.write(QStringLiteral("report.txt"),
                  lines({QStringLiteral("Айгүл | 10:00:00 | 01.02.2025 | test1 | 3"),
                         QStringLiteral("Айгүл | 11:00:00 | 01.02.2025 | test1 | 5"),
                         QStringLiteral("Нұрлан | 11:00:00 | 01.02.2025 | test2 | 5")}));
    folder_.write(
        QStringLiteral("report.answers.txt"),
        lines({QStringLiteral("айгүл | 09:59:00 | 01.02.2025 | test1 | 1 | A | A | 0"),
               QStringLiteral("Айгүл | 09:59:30 | 01.02.2025 | test1 | 2 | A | B | 0"),
               QStringLiteral("Нұрлан | 10:59:00 | 01.02.2025 | test2 | 1 | A | A | 0")}));
    EXPECT_EQ(GroupJournal::read(QStringLiteral("report.txt")).testsWithoutAnswers(), 1);
}

TEST_F(GroupJournalFiles, UnderADrawTheFirstAnswerOfTheAttemptMarksItWhateverItsQuestion) {
    folder_.write(QStringLiteral("report.txt"),
                  lines({QStringLiteral("Айгүл | 10:00:00 | 01.02.2025 | test1 | 3"),
                         QStringLiteral("Нұрлан | 11:00:00 | 01.02.2025 | test2 | 5")}));
    // Айгүл's attempt drew question 2 first; Нұрлан's line of question 1 was his second answer.
    folder_.write(QStringLiteral("report.answers.txt"),
                  lines({u"Айгүл | 09:59:00 | 01.02.2025 | test1 | 2 | A | B | 0 | "
                         u"00000000000000ff | 1"_s,
                         u"Нұрлан | 10:59:00 | 01.02.2025 | test2 | 1 | A | A | 0 | "
                         u"00000000000000fe | 2"_s}));
    EXPECT_EQ(GroupJournal::read(QStringLiteral("report.txt")).testsWithoutAnswers(), 1);
}

TEST_F(GroupJournalFiles, QuestionStatisticsLeaveOutAnswersToChangedQuestions) {
    const QString q1 = AnswerLog::fingerprint(QStringLiteral("Вопрос 1"));
    const QString q2 = AnswerLog::fingerprint(QStringLiteral("Вопрос 2"));
    QStringList answers;
    // Question 1 (correct A): 5 answers, 1 right: too hard. Question 2 (correct B): all right.
    for (const char* chosen : {"A", "B", "B", "C", "E"}) {
        answers.append(QStringLiteral("s | 10:00:00 | 01.02.2025 | test1 | 1 | %1 | A | %2")
                           .arg(QLatin1String(chosen), q1));
    }
    answers.append(QStringLiteral("s | 10:00:00 | 01.02.2025 | test1 | 2 | B | B | ") + q2);
    answers.append(QStringLiteral("s | 10:00:00 | 01.02.2025 | test1 | 2 | B | B | 00000000"));
    answers.append(QStringLiteral("s | 10:00:00 | 01.02.2025 | test1 | 9 | B | B | ") + q2);
    answers.append(QStringLiteral("s | 10:00:00 | 01.02.2025 | test2 | 1 | B | A | ") + q1);
    answers.append(QStringLiteral("s | 10:00:00 | 01.02.2025 | test1 | 1 | F | A | ") + q1);
    answers.append(QStringLiteral("s | 10:00:00 | 01.02.2025 | test1 | 1 | A"));
    // Lines of an attempt under settings count as the others: section and letters are the file's.
    answers.append(QStringLiteral("s | 10:00:00 | 01.02.2025 | test1 | 2 | B | B | %1 | "
                                  "0123456789abcdef | 1")
                       .arg(q2));
    folder_.write(QStringLiteral("report.answers.txt"), lines(answers));

    const QuestionStatistics stats =
        QuestionStatistics::read(QStringLiteral("report.txt"), QStringLiteral("test1"));
    EXPECT_EQ(stats.changedLines(), 2);
    EXPECT_EQ(stats.skippedLines(), 2);
    EXPECT_EQ(stats.notes(), (QStringList{u"ответов на изменённые вопросы не учтено: 2"_s,
                                          u"строк журнала ответов пропущено: 2"_s}));
    EXPECT_EQ(JournalTable::of(stats).rows(),
              (QList<QStringList>{{u"1"_s, u"Вопрос 1"_s, u"5"_s, u"20 %"_s, u"1 ✓"_s, u"2"_s,
                                   u"1"_s, u"0"_s, u"1"_s, u"слишком трудный"_s},
                                  {u"2"_s, u"Вопрос 2"_s, u"2"_s, u"100 %"_s, u"0"_s, u"2 ✓"_s,
                                   u"0"_s, u"0"_s, u"0"_s, u"слишком лёгкий"_s}}));
}

// A student registered anew under an earlier student's name: only the lines from the moment of
// the registration on are theirs, and the register's initial "1" for test 1 is no grade. A
// moment that cannot be read leaves the section read as an older register's.
TEST_F(GroupJournalFiles, LinesBeforeTheRegistrationMomentBelongToAnEarlierStudent) {
    writeini(u"Бекзат"_s, u"registered"_s, u"2025-02-02T12:00:00"_s, u"\\users.ini"_s);
    writeini(u"Айгүл"_s, u"registered"_s, u"вчера"_s, u"\\users.ini"_s);
    folder_.write(QStringLiteral("report.txt"),
                  lines({u"Бекзат | 09:00:00 | 01.02.2025 | test1 | 5"_s,
                         u"Бекзат | 11:59:59 | 02.02.2025 | test2 | 4"_s,
                         u"Бекзат | 12:00:00 | 02.02.2025 | test4 | 3"_s,
                         u"бекзат | 08:00:00 | 01.03.2025 | test4 | 2"_s,
                         u"Айгүл | 10:00:00 | 01.01.2020 | test1 | 5"_s}));
    folder_.write(QStringLiteral("report.answers.txt"),
                  lines({u"Бекзат | 11:59:00 | 02.02.2025 | test4 | 1 | A | A | 0"_s,
                         u"Бекзат | 07:59:00 | 01.03.2025 | test4 | 1 | A | A | 0"_s,
                         u"Бекзат | 07:59:30 | 01.03.2025 | test4 | 2 | A | A | 0"_s}));
    const GroupJournal journal = GroupJournal::read(QStringLiteral("report.txt"));
    EXPECT_EQ(JournalTable::of(journal).rows(),
              (QList<QStringList>{{u"Айгүл"_s, u"5"_s, kDash, kDash, u"5,00"_s},
                                  {u"Гость"_s, kDash, kDash, kDash, kDash},
                                  {u"бекзат"_s, kDash, kDash, u"2"_s, u"2,00"_s},
                                  {u"Нұрлан (нет в списке)"_s, kDash, kDash, kDash, kDash}}));
    EXPECT_EQ(journal.students()[2].attempts[4].count, 2);
    // Айгүл's test 1 and Бекзат's second attempt at test 4 have no answer lines of their own.
    EXPECT_EQ(journal.notes(), QStringList{u"тестов без строк ответов: 2"_s});
}

// A log saved without its last line break takes the next test's line on a line of its own.
TEST_F(GroupJournalFiles, ALogEndingWithoutALineBreakLosesNoResult) {
    folder_.write(QStringLiteral("report.txt"),
                  CodePage::encode(u"Айгүл | 10:00:00 | 01.02.2025 | test1 | 3"_s));
    TestLog::append(QStringLiteral("report.txt"), u"Айгүл | 11:00:00 | 01.02.2025 | test2 | 2"_s);
    const GroupJournal journal = GroupJournal::read(QStringLiteral("report.txt"));
    EXPECT_EQ(journal.skippedLogLines(), 0);
    EXPECT_EQ(JournalTable::of(journal).rows()[0],
              (QStringList{u"Айгүл"_s, u"5"_s, u"2"_s, kDash, u"3,50"_s}));
}

// The answer log keeps the correct letter of each answer: answers given while another answer was
// the correct one are left out of the question's figures and counted with the changed questions.
TEST_F(GroupJournalFiles, QuestionStatisticsLeaveOutAnswersUnderAnotherKey) {
    const QString q1 = AnswerLog::fingerprint(QStringLiteral("Вопрос 1"));
    const QString q2 = AnswerLog::fingerprint(QStringLiteral("Вопрос 2"));
    const QString line = u"s | 10:00:00 | 01.02.2025 | test1 | %1 | %2 | %3 | %4"_s;
    folder_.write(
        QStringLiteral("report.answers.txt"),
        lines({line.arg(u"1"_s, u"C"_s, u"C"_s, q1), line.arg(u"1"_s, u"C"_s, u"C"_s, q1),
               line.arg(u"1"_s, u"A"_s, u"C"_s, q1), line.arg(u"1"_s, u"A"_s, u"A"_s, q1),
               line.arg(u"2"_s, u"B"_s, u"?"_s, q2), line.arg(u"2"_s, u"A"_s, u"B"_s, q2)}));
    const QuestionStatistics stats =
        QuestionStatistics::read(QStringLiteral("report.txt"), QStringLiteral("test1"));
    EXPECT_EQ(stats.changedLines(), 4);
    EXPECT_EQ(stats.notes(), QStringList{u"ответов на изменённые вопросы не учтено: 4"_s});
    EXPECT_EQ(JournalTable::of(stats).rows(),
              (QList<QStringList>{{u"1"_s, u"Вопрос 1"_s, u"1"_s, u"100 %"_s, u"1 ✓"_s, u"0"_s,
                                   u"0"_s, u"0"_s, u"0"_s, u"слишком лёгкий"_s},
                                  {u"2"_s, u"Вопрос 2"_s, u"1"_s, u"0 %"_s, u"1"_s, u"0 ✓"_s,
                                   u"0"_s, u"0"_s, u"0"_s, QString()}}));
}

TEST(JournalTableNumbers, HaveTwoDecimalsAfterACommaAndNoNegativeZero) {
    const std::pair<double, const char16_t*> rows[] = {
        {3.5, u"3,50"},    {2.0 / 3.0, u"0,67"},  {-0.25, u"-0,25"},  {-1e-12, u"0,00"},
        {-0.004, u"0,00"}, {-0.005001, u"-0,01"}, {100.0, u"100,00"}, {0.0, u"0,00"},
    };
    for (const auto& [value, text] : rows) {
        EXPECT_EQ(velmora::JournalTable::number(value), QString::fromUtf16(text)) << value;
    }
    EXPECT_EQ(velmora::JournalTable::figure(std::nullopt), u"—"_s);
}

TEST(JournalTableCsv, HasAByteOrderMarkSemicolonsAndQuotedFields) {
    TempFolder folder;
    storeStudent(QStringLiteral("Иванов; Пётр"), {});
    folder.write(QStringLiteral("users"), CodePage::encode(u"Иванов; Пётр\r\n"));
    writeTestFile(QStringLiteral("test1"), numberedQuestions({1}), QStringLiteral("1"));
    const QByteArray csv = JournalTable::of(GroupJournal::read(QStringLiteral("r.txt"))).csv();
    EXPECT_EQ(
        csv,
        QByteArray("\xEF\xBB\xBF") +
            QStringLiteral("Студент;Тест 1;Средний балл\r\n\"Иванов; Пётр\";—;—\r\n").toUtf8());
}

} // namespace
