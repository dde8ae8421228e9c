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
    EXPECT_EQ(run.status, 1); // the listing is whole, but it found problems
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

// The journal's CSV convention: a byte order mark, ";" between fields, CR LF after each line.
TEST_F(GradesCommand, PrintsCsvAsTheJournalDoes) {
    registerUser(QStringLiteral("Ким; Ли"), {QStringLiteral("4")});
    folder_.write(QStringLiteral("users"),
                  CodePage::encode(u"Айгүл\r\nГость\r\nBen, Jr\r\nКим; Ли\r\n"));
    const AdminRun run = runAdmin({QStringLiteral("grades"), QStringLiteral("--csv")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(
        run.outBytes.toStdString(),
        "\xEF\xBB\xBF" +
            QStringLiteral("name;test1;test2;test3;test4;test5;test6;test7;test8;test9;test10\r\n"
                           "Айгүл;5;4;3;0;0;0;0;0;0;1\r\n"
                           "Гость;;;;;;;;;;\r\n"
                           "Ben, Jr;0;?;2;?;?;?;?;?;?;?\r\n"
                           "\"Ким; Ли\";4;?;?;?;?;?;?;?;?;?\r\n")
                .toUtf8()
                .toStdString());
}

// The exit status tells whether anything was reported: 0 only for a list whose every name has
// its section with ten numbers.
TEST(GradesCommandStatus, IsOneWhenAProblemIsReported) {
    const struct {
        const char* name;
        QString users;
        QStringList grades; // of "Anna"; empty: no section
        int status;
        QString err;
    } cases[] = {
        {"clean",
         QStringLiteral("Anna\r\n"),
         QStringLiteral("5 4 3 0 0 0 0 0 0 1").split(u' '),
         0,
         {}},
        {"emptyList", {}, QStringLiteral("5").split(u' '), 0, {}},
        {"noSection", QStringLiteral("Anna\r\nBota\r\n"),
         QStringLiteral("5 4 3 0 0 0 0 0 0 1").split(u' '), 1,
         QStringLiteral("'Bota' is in the list but has no section in users.ini")},
        {"notANumber", QStringLiteral("Anna\r\n"),
         QStringLiteral("5 x 3 0 0 0 0 0 0 1").split(u' '), 1,
         QStringLiteral("'Anna': not a number in test2")},
        {"missingGrades", QStringLiteral("Anna\r\n"), QStringLiteral("5").split(u' '), 1,
         QStringLiteral("'Anna': not a number in test2, test3")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TempFolder folder;
        registerUser(QStringLiteral("Anna"), c.grades);
        folder.write(QStringLiteral("users"), CodePage::encode(c.users));
        for (const QStringList& args :
             {QStringList{QStringLiteral("grades")},
              QStringList{QStringLiteral("grades"), QStringLiteral("--csv")}}) {
            const AdminRun run = runAdmin(args);
            EXPECT_EQ(run.status, c.status) << run.err.toStdString();
            EXPECT_TRUE(run.err.contains(c.err)) << run.err.toStdString();
            EXPECT_EQ(run.err.isEmpty(), c.status == 0) << run.err.toStdString();
        }
    }
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
    registerUser(QStringLiteral("Айгүл"),
                 QStringLiteral("5 4 0 0 0 0 0 0 0 0").split(QLatin1Char(' ')));
    registerUser(QStringLiteral("Ben"),
                 QStringLiteral("3 0 0 0 0 0 0 0 0 0").split(QLatin1Char(' ')));
    folder.write(QStringLiteral("users"), CodePage::encode(u"Айгүл\rBen\r\n"));
    const QStringList programNames = UserList::load().names();
    EXPECT_EQ(programNames, (QStringList{QStringLiteral("Айгүл"), QStringLiteral("Ben")}));
    const AdminRun run = runAdmin({QStringLiteral("grades"), QStringLiteral("--csv")});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    QStringList adminNames;
    for (const QString& line : run.out.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts).mid(1)) {
        adminNames.append(line.section(QLatin1Char(';'), 0, 0));
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
    EXPECT_EQ(run.status, 1);
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
