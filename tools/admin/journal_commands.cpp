// SPDX-License-Identifier: GPL-3.0-or-later
#include "admin_command.h"

#include "core/access/admin_settings.h"
#include "core/access/group_journal.h"
#include "core/access/journal_table.h"
#include "core/access/regrade.h"
#include "core/exam/test_analysis.h"
#include "core/exam/test_file.h"
#include "core/exam/test_run.h"
#include "core/storage/data_path.h"
#include "core/storage/failure.h"

#include <QDateTime>
#include <QFileInfo>
#include <cerrno>
#include <optional>

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

// The options of stats; nothing when they are not understood.
struct StatsOptions {
    QString test;
    AttemptChoice attempts = AttemptChoice::First;
    bool csv = false;
    bool summary = false;
};

std::optional<StatsOptions> statsOptions(const QStringList& args) {
    if (args.isEmpty() || TestRun::slotOf(args[0]) == 0) {
        return std::nullopt;
    }
    StatsOptions options{args[0]};
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == QStringLiteral("--csv") && !options.csv) {
            options.csv = true;
        } else if (args[i] == QStringLiteral("--summary") && !options.summary) {
            options.summary = true;
        } else if (args[i] == QStringLiteral("--attempts") && i + 1 < args.size() &&
                   (args[i + 1] == QStringLiteral("first") ||
                    args[i + 1] == QStringLiteral("all"))) {
            options.attempts =
                args[++i] == QStringLiteral("all") ? AttemptChoice::All : AttemptChoice::First;
        } else {
            return std::nullopt;
        }
    }
    if (options.csv && options.summary) {
        return std::nullopt;
    }
    return options;
}

int stats(const QStringList& args, QTextStream& out, QTextStream& err) {
    const std::optional<StatsOptions> options = statsOptions(args);
    if (!options) {
        err << "velmora-admin: usage: velmora-admin stats TEST [--attempts first|all] "
               "[--csv | --summary]\n";
        return 2;
    }
    const QString testFile = programFolderPath(TestFile::named(options->test).relativePath());
    if (!QFileInfo(testFile).isFile()) {
        throw failures::cannotOpenFile(testFile, ENOENT);
    }
    const TestAnalysis analysis =
        TestAnalysis::read(AdminSettings::read().reportFile, options->test, options->attempts);
    const QStringList figures = JournalTable::figureLines(analysis.test());
    if (options->summary) {
        out << figures.join(u'\n') << "\n";
        for (const QString& note : analysis.notes()) {
            err << "velmora-admin: " << note << "\n";
        }
    } else {
        print(JournalTable::of(analysis), analysis.notes(), options->csv, out, err);
        if (!options->csv) {
            out << "\n" << figures.join(u'\n') << "\n";
        }
    }
    if (!options->csv && !options->summary) {
        for (const QString& remark : analysis.remarks()) {
            out << remark << "\n";
        }
    }
    return analysis.notes().isEmpty() ? 0 : 1;
}

int regrade(const QStringList& args, QTextStream& out, QTextStream& err) {
    const bool apply = args.size() == 2 && args[1] == QStringLiteral("--apply");
    if ((args.size() != 1 && !apply) || TestRun::slotOf(args[0]) == 0) {
        err << "velmora-admin: usage: velmora-admin test regrade TEST [--apply]\n";
        return 2;
    }
    const QString testFile = programFolderPath(TestFile::named(args[0]).relativePath());
    if (!QFileInfo(testFile).isFile()) {
        throw failures::cannotOpenFile(testFile, ENOENT);
    }
    const QString reportfile = AdminSettings::read().reportFile;
    const Regrade regrade = Regrade::plan(reportfile, args[0]);
    for (const RegradeChange& change : regrade.changes()) {
        out << change.text() << "\n";
    }
    if (!regrade.keptNote().isEmpty()) {
        err << "velmora-admin: " << regrade.keptNote() << "\n";
    }
    if (apply) {
        regrade.apply(reportfile, QDateTime::currentDateTime());
        err << "velmora-admin: " << counted(regrade.changes().size(), "grade", "grades")
            << " written to users.ini\n";
    } else if (!regrade.changes().isEmpty()) {
        err << "velmora-admin: nothing written; --apply writes the new grades\n";
    }
    return 0;
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
         QStringLiteral("TEST [--attempts first|all] [--csv | --summary]"),
         QStringLiteral("print the item analysis of a test from the answer log"),
         QStringLiteral(
             "Prints, for each question of the test file of TEST (test1, test2, ...), the\n"
             "attempts asked it, its facility (share right), SD, discrimination index (its\n"
             "correlation with the rest of the test), discrimination efficiency, effective\n"
             "weight, how many chose each of A to E (the correct one marked) and its flags:\n"
             "\"проверьте ключ\" (negative discrimination), \"слабо различает\" (under 20),\n"
             "\"отрицательный вклад\", \"слишком трудный\" (at least 5 answers, under 30 %),\n"
             "\"слишком лёгкий\" (over 95 %). Under it the test's figures: attempts, mean,\n"
             "median, SD, skewness, kurtosis, Cronbach's alpha, error ratio, standard error\n"
             "(percent, two decimals with a comma, \"—\" where undefined); --summary prints\n"
             "these lines alone. Each student's first attempt counts; --attempts all takes\n"
             "every attempt. Answers are scored against the test file's current key. The\n"
             "answer log lies beside the test log: report.txt gives report.answers.txt.\n"
             "Answers to a question whose text changed since are left out and counted on\n"
             "the error output, and the exit status is then 1. With --csv the table is\n"
             "printed as the journal window saves it. Nothing is written."),
         -1,
         stats},
        {{QStringLiteral("test"), QStringLiteral("regrade")},
         QStringLiteral("TEST [--apply]"),
         QStringLiteral("grade a test again against its mended answer key"),
         QStringLiteral(
             "Scores each student's last finished attempt at TEST (test1, test2, ...) again\n"
             "from the answer log against the test file's current answer key, over the\n"
             "questions the attempt was asked, with the grade bands (80 % gives 5, 60 % 4,\n"
             "40 % 3, 20 % 2), and prints \"name: old → new\" for every grade that changes.\n"
             "Answers to a question whose text changed since keep their logged result; those\n"
             "questions are named on the error output. Nothing is written unless --apply is\n"
             "given: then the new grades are written to users.ini in one rewrite, under its\n"
             "lock (every student's or none), and one line per change is appended to the\n"
             "regrade log beside the test log (report.txt gives report.regrades.txt):\n"
             "name | date | time | test | old | new. A new pass unlocks the next lecture and\n"
             "test at the student's next sign-in."),
         -1,
         regrade},
    };
}

} // namespace velmora::admin
