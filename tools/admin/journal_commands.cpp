// SPDX-License-Identifier: GPL-3.0-or-later
#include "admin_command.h"

#include "core/access/admin_settings.h"
#include "core/access/group_journal.h"
#include "core/access/journal_table.h"
#include "core/exam/question_statistics.h"
#include "core/exam/test_file.h"
#include "core/exam/test_run.h"
#include "core/storage/data_path.h"
#include "core/storage/failure.h"

#include <QFileInfo>
#include <cerrno>

namespace velmora::admin {
namespace {

// Prints the table as the journal window shows it, or as the CSV file it saves, and its notes on
// the error output.
void print(const JournalTable& table, const QStringList& notes, bool csv, QTextStream& out,
           QTextStream& err) {
    if (csv) {
        // The byte order mark first, written as its character: decoding the bytes would drop it.
        out << QChar(QChar::ByteOrderMark) << QString::fromUtf8(table.csv().sliced(3));
    } else {
        out << table.text();
    }
    for (const QString& note : notes) {
        err << "velmora-admin: " << note << "\n";
    }
}

int journal(const QStringList& args, QTextStream& out, QTextStream& err) {
    const bool csv = args == QStringList{QStringLiteral("--csv")};
    if (!args.isEmpty() && !csv) {
        err << "velmora-admin: usage: velmora-admin journal [--csv]\n";
        return 2;
    }
    const GroupJournal journal = GroupJournal::read(AdminSettings::read().reportFile);
    print(JournalTable::of(journal), journal.notes(), csv, out, err);
    if (!csv) {
        // The summary the window shows under its table; its CSV file holds the table alone.
        out << "\n" << JournalTable::summaryOf(journal).text();
    }
    return journal.notes().isEmpty() ? 0 : 1;
}

int stats(const QStringList& args, QTextStream& out, QTextStream& err) {
    const bool csv = args.size() == 2 && args[1] == QStringLiteral("--csv");
    if ((args.size() != 1 && !csv) || TestRun::slotOf(args[0]) == 0) {
        err << "velmora-admin: usage: velmora-admin stats TEST [--csv]\n";
        return 2;
    }
    const QString testFile = programFolderPath(TestFile::named(args[0]).relativePath());
    if (!QFileInfo(testFile).isFile()) {
        throw failures::cannotOpenFile(testFile, ENOENT);
    }
    const QuestionStatistics statistics =
        QuestionStatistics::read(AdminSettings::read().reportFile, args[0]);
    print(JournalTable::of(statistics), statistics.notes(), csv, out, err);
    return statistics.notes().isEmpty() ? 0 : 1;
}

} // namespace

QList<AdminCommand> journalCommands() {
    return {
        {{QStringLiteral("journal")},
         QStringLiteral("[--csv]"),
         QStringLiteral("print the group journal: every student's grades and means"),
         QStringLiteral(
             "Prints the group journal as the program's \"Журнал группы\" window shows it:\n"
             "one row per student of the list \"users\" (then students of users.ini the list\n"
             "lacks, marked \"нет в списке\"), one column per test whose file exists in\n"
             "data/tests, and the mean of the tests taken. A test counts as taken when the\n"
             "test log holds a line for the student and the test; \"—\" marks one not taken.\n"
             "Under it, as under the window's table: per test, how many took it, their mean\n"
             "and the share with 3 or more (not with --csv: the CSV file is the table alone).\n"
             "With --csv the table is printed as the window saves it: UTF-8 with a byte order\n"
             "mark, \";\" between fields, one header line. Log lines that cannot be used are\n"
             "counted on the error output, and the exit status is then 1. Nothing is written."),
         -1,
         journal},
        {{QStringLiteral("stats")},
         QStringLiteral("TEST [--csv]"),
         QStringLiteral("print the question statistics of a test from the answer log"),
         QStringLiteral(
             "Prints, for each question of the test file of TEST (test1, test2, ...), how many\n"
             "answers the answer log holds, the share correct and how many chose each of A to\n"
             "E (the correct one marked), and marks questions \"слишком трудный\" (at least 5\n"
             "answers, under 30 % correct) or \"слишком лёгкий\" (over 95 %). The answer log\n"
             "lies beside the test log: report.txt gives report.answers.txt. Answers to a\n"
             "question changed since (its text or its correct answer) are left out and\n"
             "counted on the error output, and the exit status is then 1. With --csv the\n"
             "table is printed as the journal window saves it. Nothing is written."),
         -1,
         stats},
    };
}

} // namespace velmora::admin
