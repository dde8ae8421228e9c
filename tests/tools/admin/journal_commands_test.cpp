// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exam/answer_log.h"
#include "core/storage/code_page.h"
#include "core/storage/scrambled_store.h"
#include "support/admin_run.h"
#include "support/temp_folder.h"
#include "support/test_file_builder.h"

#include <QDateTime>
#include <QFile>
#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;
using namespace Qt::StringLiterals;

namespace {

// Two students, tests 1 and 2; Айгүл took test 1 twice and answered its first question; one log
// line names a test without a file.
class JournalCommands : public ::testing::Test {
protected:
    JournalCommands() {
        writeTestFile(u"test1"_s, numberedQuestions({1, 2}), u"2"_s);
        writeTestFile(u"test2"_s, numberedQuestions({1}), u"1"_s);
        for (const QString& name : {u"Айгүл"_s, u"Бекзат"_s}) {
            writeini(name, u"password"_s, u"p"_s, u"\\users.ini"_s);
            writeini(name, u"test1"_s, u"1"_s, u"\\users.ini"_s);
        }
        writeini(u"Айгүл"_s, u"test1"_s, u"4"_s, u"\\users.ini"_s);
        folder_.write(u"users"_s, CodePage::encode(u"Айгүл\r\nБекзат\r\n"));
        folder_.write(u"data/info/tumb.db"_s, "admin|admin|report.txt\r\n");
        folder_.write(u"report.txt"_s,
                      CodePage::encode(u"Айгүл | 10:00:00 | 01.02.2025 | test1 | 2\r\n"
                                       u"Айгүл | 11:00:00 | 01.02.2025 | test1 | 4\r\n"
                                       u"Бекзат | 11:00:00 | 01.02.2025 | test9 | 4\r\n"_s));
        const QString q1 = AnswerLog::fingerprint(u"Вопрос 1"_s);
        folder_.write(
            u"report.answers.txt"_s,
            CodePage::encode(u"Айгүл | 09:59:00 | 01.02.2025 | test1 | 1 | B | A | "_s + q1 +
                             u"\r\nАйгүл | 10:59:00 | 01.02.2025 | test1 | 1 | A | A | "_s + q1 +
                             u"\r\n"_s));
    }
    TempFolder folder_;
};

// The plain table is followed by the summary the window shows under it; the CSV is the table
// alone, as the window saves it.
TEST_F(JournalCommands, JournalPrintsTheWindowsTableItsSummaryAndItsNotes) {
    const AdminRun run = runAdmin({u"journal"_s});
    EXPECT_EQ(run.status, 1) << run.err.toStdString(); // whole, but it found a problem
    EXPECT_EQ(run.out, u"Студент  Тест 1  Тест 2  Средний балл\n"
                       u"Айгүл         4       —          4,00\n"
                       u"Бекзат        —       —             —\n"
                       u"\n"
                       u"                  Тест 1  Тест 2\n"
                       u"Сдавали                1       0\n"
                       u"Средний балл        4,00       —\n"
                       u"Сдали (3 и выше)   100 %       —\n"_s);
    EXPECT_EQ(run.err, u"velmora-admin: строк журнала пропущено: 1\n"_s);

    const AdminRun csv = runAdmin({u"journal"_s, u"--csv"_s});
    EXPECT_EQ(csv.outBytes, "\xEF\xBB\xBF" + u"Студент;Тест 1;Тест 2;Средний балл\r\n"
                                             u"Айгүл;4;—;4,00\r\nБекзат;—;—;—\r\n"_s.toUtf8());
    EXPECT_EQ(csv.status, 1);
    EXPECT_EQ(runAdmin({u"journal"_s, u"--tsv"_s}).status, 2);
}

// Петров of an older register took tests 1 and 2. Removed and registered again, the new Петров
// has taken nothing: neither the old log lines nor the register's initial "1" make a grade, and
// the registration moment shows in no grade listing.
TEST(JournalOfAStudentRegisteredAgain, InheritsNothingFromTheEarlierStudent) {
    const TempFolder folder;
    writeTestFile(u"test1"_s, numberedQuestions({1}), u"1"_s);
    writeTestFile(u"test2"_s, numberedQuestions({1}), u"1"_s);
    writeini(u"Петров"_s, u"password"_s, u"p"_s, u"\\users.ini"_s);
    writeini(u"Петров"_s, u"test1"_s, u"5"_s, u"\\users.ini"_s);
    writeini(u"Петров"_s, u"test2"_s, u"0"_s, u"\\users.ini"_s);
    folder.write(u"users"_s, CodePage::encode(u"Петров\r\n"_s));
    folder.write(u"data/info/tumb.db"_s, "admin|admin|report.txt\r\n");
    folder.write(u"report.txt"_s,
                 CodePage::encode(u"Петров | 10:00:00 | 01.02.2025 | test1 | 5\r\n"
                                  u"Петров | 11:00:00 | 01.02.2025 | test2 | 4\r\n"_s));
    EXPECT_EQ(runAdmin({u"journal"_s}).out, u"Студент  Тест 1  Тест 2  Средний балл\n"
                                            u"Петров        5       4          4,50\n"
                                            u"\n"
                                            u"                  Тест 1  Тест 2\n"
                                            u"Сдавали                1       1\n"
                                            u"Средний балл        5,00    4,00\n"
                                            u"Сдали (3 и выше)   100 %   100 %\n"_s);

    ASSERT_EQ(runAdmin({u"users"_s, u"remove"_s, u"Петров"_s}).status, 0);
    ASSERT_EQ(runAdmin({u"users"_s, u"add"_s, u"Петров"_s, u"pw"_s}).status, 0);
    EXPECT_EQ(runAdmin({u"journal"_s}).out, u"Студент  Тест 1  Тест 2  Средний балл\n"
                                            u"Петров        —       —             —\n"
                                            u"\n"
                                            u"                  Тест 1  Тест 2\n"
                                            u"Сдавали                0       0\n"
                                            u"Средний балл           —       —\n"
                                            u"Сдали (3 и выше)       —       —\n"_s);

    QString twelve;
    for (int n = 1; n <= 12; ++n) {
        twelve += u"test%1 %2\n"_s.arg(n).arg(n == 1 ? 1 : 0);
    }
    EXPECT_EQ(runAdmin({u"users"_s, u"grades"_s, u"Петров"_s}).out, twelve);
    const AdminRun grades = runAdmin({u"grades"_s, u"--csv"_s});
    EXPECT_EQ(grades.out.split(u'\n')[1], u"Петров;1;0;0;0;0;0;0;0;0;0\r"_s);
    EXPECT_TRUE(grades.err.isEmpty()) << grades.err.toStdString();
    const AdminRun moment =
        runAdmin({u"ini"_s, u"get"_s, u"users.ini"_s, u"Петров"_s, u"registered"_s});
    EXPECT_EQ(moment.status, 0);
    EXPECT_TRUE(QDateTime::fromString(moment.out.trimmed(), Qt::ISODate).isValid())
        << moment.out.toStdString();
}

// After the answer key of question 1 changed, its answers so far are scored against the key as
// it stands now: what was right under the old key is wrong now.
TEST_F(JournalCommands, StatsScoreEveryAnswerAgainstTheCurrentKey) {
    ASSERT_EQ(
        runAdmin({u"ini"_s, u"set"_s, u"data/tests/test1.ini"_s, u"1"_s, u"ap"_s, u"3"_s}).status,
        0);
    const AdminRun run = runAdmin({u"stats"_s, u"test1"_s, u"--attempts"_s, u"all"_s, u"--csv"_s});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.out.split(u"\r\n"_s).value(1), u"1;Вопрос 1;2;0,00;0,00;—;—;—;1;1;0 ✓;0;0;"_s);
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
}

// The exit status tells whether a note was printed: 0 for logs whose every line is used, 1 for
// a log line skipped or a log that cannot be read.
TEST_F(JournalCommands, ExitWithOneOnlyWhenTheyReportAProblem) {
    const QByteArray clean = CodePage::encode(u"Айгүл | 10:00:00 | 01.02.2025 | test1 | 2\r\n"
                                              u"Айгүл | 11:00:00 | 01.02.2025 | test1 | 4\r\n"_s);
    folder_.write(u"report.txt"_s, clean);
    for (const QStringList& args :
         {QStringList{u"journal"_s}, QStringList{u"stats"_s, u"test1"_s}}) {
        SCOPED_TRACE(args.join(u' ').toStdString());
        const AdminRun run = runAdmin(args);
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    }
    folder_.write(u"report.answers.txt"_s,
                  folder_.read(u"report.answers.txt"_s) + "broken line\r\n");
    const AdminRun stats = runAdmin({u"stats"_s, u"test1"_s});
    EXPECT_EQ(stats.status, 1);
    EXPECT_TRUE(stats.err.contains(u"строк журнала ответов пропущено: 1"_s))
        << stats.err.toStdString();
    QFile::remove(folder_.file(u"report.txt"_s));
    const AdminRun journal = runAdmin({u"journal"_s});
    EXPECT_EQ(journal.status, 1);
    EXPECT_TRUE(journal.err.contains(u"журнал тестов не прочитан"_s)) << journal.err.toStdString();
}

const QString kStatsHeader = u"№;Вопрос;Ответов;Лёгкость %;СКО %;Индекс дискриминации %;"
                             u"Эффективность дискриминации %;Вес %;A;B;C;D;E;Отметка\r\n"_s;

// Айгүл's first attempt answered question 1 wrong and never reached question 2: both count as
// wrong. Her second attempt answered question 1 right.
TEST_F(JournalCommands, StatsPrintsTheItemAnalysisOfFirstOrAllAttempts) {
    const AdminRun first = runAdmin({u"stats"_s, u"test1"_s, u"--csv"_s});
    EXPECT_EQ(first.status, 0) << first.err.toStdString();
    EXPECT_EQ(first.out, kStatsHeader + u"1;Вопрос 1;1;0,00;—;—;—;—;0 ✓;1;0;0;0;\r\n"
                                        u"2;Вопрос 2;1;0,00;—;—;—;—;0;0 ✓;0;0;0;\r\n"_s);
    EXPECT_TRUE(first.err.isEmpty()) << first.err.toStdString();

    // x1 = 0,1 and x2 = 0,0: T = 0,1 (shares 0 and .5). SD1 = 100·√.5; the rest of question 1
    // (question 2) never varies, so no DI; Cov(x1, T) = .5 and Cov(x2, T) = 0 give the weights.
    const AdminRun all = runAdmin({u"stats"_s, u"test1"_s, u"--attempts"_s, u"all"_s, u"--csv"_s});
    EXPECT_EQ(all.out, kStatsHeader + u"1;Вопрос 1;2;50,00;70,71;—;—;100,00;1 ✓;1;0;0;0;\r\n"
                                      u"2;Вопрос 2;2;0,00;0,00;—;—;0,00;0;0 ✓;0;0;0;\r\n"_s);
    // Mean and median .25; V(share) = 2·.25²/1 = .125; V(T) = .5 = V(x1) + V(x2), so alpha is 0,
    // the error ratio 100 and the standard error the SD.
    const AdminRun summary =
        runAdmin({u"stats"_s, u"test1"_s, u"--summary"_s, u"--attempts"_s, u"all"_s});
    EXPECT_EQ(summary.status, 0) << summary.err.toStdString();
    EXPECT_EQ(summary.out, u"Попыток: 2\nСредний балл %: 25,00\nМедиана %: 25,00\nСКО %: 35,36\n"
                           u"Асимметрия: —\nЭксцесс: —\nАльфа Кронбаха %: 0,00\n"
                           u"Доля ошибки %: 100,00\nСтандартная ошибка %: 35,36\n"_s);
    const AdminRun text = runAdmin({u"stats"_s, u"test1"_s});
    EXPECT_TRUE(text.out.startsWith(u"№  Вопрос    Ответов  Лёгкость %"_s))
        << text.out.toStdString();
    EXPECT_TRUE(text.out.contains(u"\n\nПопыток: 1\n"_s)) << text.out.toStdString();

    for (const QStringList& wrong :
         {QStringList{u"stats"_s, u"exam"_s}, QStringList{u"stats"_s},
          QStringList{u"stats"_s, u"test1"_s, u"--attempts"_s},
          QStringList{u"stats"_s, u"test1"_s, u"--attempts"_s, u"last"_s},
          QStringList{u"stats"_s, u"test1"_s, u"--csv"_s, u"--summary"_s}}) {
        EXPECT_EQ(runAdmin(wrong).status, 2) << wrong.join(u' ').toStdString();
    }
}

// A test without a file has no statistics: the missing file is named, and nothing is printed.
TEST_F(JournalCommands, StatsOfATestWithoutAFileNamesTheFile) {
    const AdminRun run = runAdmin({u"stats"_s, u"test9"_s});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
    EXPECT_EQ(run.err, u"velmora-admin: Cannot open file \"%1\". No such file or directory\n"_s.arg(
                           folder_.file(u"data/tests/test9.ini"_s)));
}

} // namespace
