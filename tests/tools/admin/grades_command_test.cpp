// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/access/user_list.h"
#include "core/storage/code_page.h"
#include "core/storage/scrambled_store.h"
#include "support/admin_run.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::AdminRun;
using velmora::test::runAdmin;
using velmora::test::TempFolder;

namespace {

void registerUser(const QString& name, const QStringList& grades) {
    writeini(name, QStringLiteral("password"), QStringLiteral("p"), QStringLiteral("\\users.ini"));
    for (qsizetype n = 0; n < grades.size(); ++n) {
        writeini(name, QStringLiteral("test%1").arg(n + 1), grades[n],
                 QStringLiteral("\\users.ini"));
    }
}

class GradesCommand : public ::testing::Test {
protected:
    GradesCommand() {
        registerUser(QStringLiteral("Айгүл"),
                     QStringLiteral("5 4 3 0 0 0 0 0 0 1 0 0").split(QLatin1Char(' ')));
        registerUser(QStringLiteral("Ben, Jr"), QStringLiteral("256 x 2").split(QLatin1Char(' ')));
        folder_.write(QStringLiteral("users"),
                      CodePage::encode(u"Айгүл\r\nГость\r\nBen, Jr\r\nАЙГҮЛ\r\n"));
    }
    TempFolder folder_;
};

TEST_F(GradesCommand, PrintsAnAlignedTableAndReportsAUserWithoutASection) {
    const AdminRun run = runAdmin({QStringLiteral("grades")});
    EXPECT_EQ(run.status, 0);
    const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4) << run.out.toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("User     T1  T2  T3  T4  T5  T6  T7  T8  T9 T10"));
    EXPECT_EQ(lines[1], QStringLiteral("Айгүл     5   4   3   0   0   0   0   0   0   1"));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("Гость   "))) << lines[2].toStdString();
    EXPECT_FALSE(lines[2].contains(QLatin1Char('0')));
    EXPECT_EQ(lines[3], QStringLiteral("Ben, Jr   0   ?   2   ?   ?   ?   ?   ?   ?   ?"));
    EXPECT_TRUE(run.err.contains(QStringLiteral("'Гость'"))) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("test2, test4"))) << run.err.toStdString();
}

TEST_F(GradesCommand, PrintsCsvWithQuotedFields) {
    const AdminRun run = runAdmin({QStringLiteral("grades"), QStringLiteral("--csv")});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out,
              QStringLiteral("name,test1,test2,test3,test4,test5,test6,test7,test8,test9,test10\n"
                             "Айгүл,5,4,3,0,0,0,0,0,0,1\n"
                             "Гость,,,,,,,,,,\n"
                             "\"Ben, Jr\",0,?,2,?,?,?,?,?,?,?\n"));
}

TEST_F(GradesCommand, RefusesOtherArgumentsAndAMissingList) {
    EXPECT_EQ(runAdmin({QStringLiteral("grades"), QStringLiteral("--tsv")}).status, 2);
    QFile::remove(folder_.file(QStringLiteral("users")));
    const AdminRun run = runAdmin({QStringLiteral("grades")});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("Cannot open file"))) << run.err.toStdString();
}

// velmora-admin reads the list file through the program's UserList: a lone CR ends a line there
// as it does in the program (it once stayed inside the name).
TEST(GradesCommandList, ReadsALoneCrAsTheProgramDoes) {
    const TempFolder folder;
    registerUser(QStringLiteral("Айгүл"), QStringLiteral("5 4").split(QLatin1Char(' ')));
    registerUser(QStringLiteral("Ben"), QStringLiteral("3").split(QLatin1Char(' ')));
    folder.write(QStringLiteral("users"), CodePage::encode(u"Айгүл\rBen\r\n"));
    const QStringList programNames = UserList::load().names();
    EXPECT_EQ(programNames, (QStringList{QStringLiteral("Айгүл"), QStringLiteral("Ben")}));
    const AdminRun run = runAdmin({QStringLiteral("grades"), QStringLiteral("--csv")});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    QStringList adminNames;
    for (const QString& line : run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(1)) {
        adminNames.append(line.section(QLatin1Char(','), 0, 0));
    }
    EXPECT_EQ(adminNames, programNames) << run.out.toStdString();
}

// Each warning is a line of its own, and a section holding nothing but comment lines counts as no
// grades, as the program's listing of its keys skips them.
TEST(GradesCommandWarnings, EndTheirLinesAndTakeCommentLinesForNoGrades) {
    const TempFolder folder;
    registerUser(QStringLiteral("Olga"),
                 QStringLiteral("5 x 3 0 0 0 0 0 0 0").split(QLatin1Char(' ')));
    folder.write(QStringLiteral("users.ini"),
                 folder.read(QStringLiteral("users.ini")) + "[Notes]\r\n;test1=5\r\n;x\r\n");
    folder.write(QStringLiteral("users"), CodePage::encode(u"Гость\r\nOlga\r\nNotes\r\n"));
    const AdminRun run = runAdmin({QStringLiteral("grades")});
    EXPECT_EQ(run.status, 0);
    const QStringList lines = run.out.split(QLatin1Char('\n'));
    ASSERT_GE(lines.size(), 4) << run.out.toStdString();
    EXPECT_EQ(lines[3], QStringLiteral("Notes  (no grades in users.ini)"));
    EXPECT_EQ(
        run.err,
        QStringLiteral("velmora-admin: 'Гость' is in the list but has no section in users.ini\n"
                       "velmora-admin: 'Olga': not a number in test2\n"
                       "velmora-admin: 'Notes' is in the list but has no section in users.ini\n"));
}

} // namespace
