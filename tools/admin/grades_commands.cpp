// SPDX-License-Identifier: GPL-3.0-or-later
#include "admin_command.h"

#include "core/access/account_rules.h"
#include "core/access/user_list.h"
#include "core/access/user_register.h"
#include "core/course/course_book.h"
#include "core/storage/csv_writer.h"

namespace velmora::admin {
namespace {

// The tests the course shows: tests 1 to shown_tests of its course file.
int shownTests() {
    return CourseBook::current().shownTests;
}

// The names of the list file "users", read as the program reads it, in list order, each once
// (names that differ only in letter case share one section of the register, so they count as
// one); empty lines are passed over.
QStringList listedUsers() {
    const UserList list = UserList::load();
    UserList users;
    for (const QString& name : list.names()) {
        if (!name.isEmpty()) {
            users.append(name);
        }
    }
    return users.names();
}

// One user's row: the grades as text ("?" for a value that is not a number), or nothing when the
// register holds no section for the user.
struct UserRow {
    QString name;
    std::optional<QStringList> grades;
    QStringList damaged; // keys whose value is not a number
};

UserRow rowOf(const QString& name) {
    UserRow row{name, std::nullopt, {}};
    // A name that no section can carry (a damaged list) has none.
    if (!AccountRules::canLookUp(name)) {
        return row;
    }
    const StoredGrades stored = UserRegister::readGrades(name, shownTests());
    if (!stored.found()) {
        return row;
    }
    QStringList grades;
    for (int n = 1; n <= shownTests(); ++n) {
        if (const std::optional<quint8> grade = stored.grade(n)) {
            grades.append(QString::number(*grade));
        } else {
            grades.append(QStringLiteral("?"));
            row.damaged.append(UserRegister::testKey(n));
        }
    }
    row.grades = grades;
    return row;
}

// As every CSV file of the program: a byte order mark, ";" between fields, CR LF after each line;
// the names as text (one that looks like a formula with an apostrophe first), the grades as the
// numbers they are.
void printCsv(const QList<UserRow>& rows, QTextStream& out) {
    CsvWriter csv;
    csv.text(QStringLiteral("name"));
    for (int n = 1; n <= shownTests(); ++n) {
        csv.text(UserRegister::testKey(n));
    }
    csv.endLine();
    for (const UserRow& row : rows) {
        csv.text(row.name);
        for (const QString& grade : row.grades.value_or(QStringList(shownTests(), QString()))) {
            csv.number(grade);
        }
        csv.endLine();
    }
    out << QChar(QChar::ByteOrderMark) << csv.result();
}

void printTable(const QList<UserRow>& rows, QTextStream& out) {
    qsizetype nameWidth = QStringLiteral("User").size();
    for (const UserRow& row : rows) {
        nameWidth = std::max(nameWidth, row.name.size());
    }
    out << QStringLiteral("User").leftJustified(nameWidth);
    for (int n = 1; n <= shownTests(); ++n) {
        out << " " << QStringLiteral("T%1").arg(n).rightJustified(3);
    }
    out << "\n";
    for (const UserRow& row : rows) {
        out << row.name.leftJustified(nameWidth);
        if (!row.grades) {
            out << "  (no grades in users.ini)\n";
            continue;
        }
        for (const QString& grade : *row.grades) {
            out << " " << grade.rightJustified(3);
        }
        out << "\n";
    }
}

int grades(const QStringList& args, QTextStream& out, QTextStream& err) {
    const bool csv = args == QStringList{QStringLiteral("--csv")};
    if (!args.isEmpty() && !csv) {
        err << "velmora-admin: usage: velmora-admin grades [--csv]\n";
        return 2;
    }
    QList<UserRow> rows;
    for (const QString& name : listedUsers()) {
        rows.append(rowOf(name));
    }
    if (csv) {
        printCsv(rows, out);
    } else {
        printTable(rows, out);
    }
    bool problems = false;
    for (const UserRow& row : rows) {
        if (!row.grades) {
            err << "velmora-admin: '" << row.name
                << "' is in the list but has no section in users.ini\n";
            problems = true;
        } else if (!row.damaged.isEmpty()) {
            err << "velmora-admin: '" << row.name << "': not a number in "
                << row.damaged.join(QStringLiteral(", ")) << "\n";
            problems = true;
        }
    }
    return problems ? 1 : 0;
}

} // namespace

QList<AdminCommand> gradesCommands() {
    return {
        {{QStringLiteral("grades")},
         QStringLiteral("[--csv]"),
         QStringLiteral("list every registered user with the grades of the course's tests"),
         QStringLiteral(
             "Lists every name of the user list file \"users\" (in the current directory)\n"
             "with the grades of tests 1 to shown_tests of course.toml stored in users.ini:\n"
             "0 for a test not taken, 1 to 5 for the last attempt, \"?\" for a value that is\n"
             "not a number. With\n"
             "--csv the list is printed as every CSV file of the program: UTF-8 with a byte\n"
             "order mark, \";\" between fields, CR LF line ends, a header line; a name\n"
             "beginning with \"=\", \"+\", \"-\" or \"@\" is written with an apostrophe\n"
             "first, so that the spreadsheet shows it as text.\n"
             "A listed name without a section in users.ini, and a value that is not a number,\n"
             "are reported on the error output and the listing goes on; the exit status is\n"
             "then 1."),
         -1,
         grades},
    };
}

} // namespace velmora::admin
