// SPDX-License-Identifier: GPL-3.0-or-later
#include "admin_command.h"

#include "core/course/course_book.h"
#include "core/course/course_folder_check.h"

#include <QDir>

namespace velmora::admin {
namespace {

// The course folder named on the command line, or the current directory.
std::optional<QString> folderOf(const QStringList& args, const QString& command, QTextStream& err) {
    if (args.size() > 1) {
        err << "velmora-admin: usage: velmora-admin course " << command << " [FOLDER]\n";
        return std::nullopt;
    }
    const QString folder = args.isEmpty() ? QDir::currentPath() : args.first();
    if (!QDir(folder).exists()) {
        err << "velmora-admin: no folder " << folder << "\n";
        return std::nullopt;
    }
    return QDir(folder).absolutePath();
}

int check(const QStringList& args, QTextStream& out, QTextStream& err) {
    const std::optional<QString> folder = folderOf(args, QStringLiteral("check"), err);
    if (!folder) {
        return 2;
    }
    return printCourseCheck(*folder, out) > 0 ? 1 : 0;
}

QString itemLine(const CourseItem& item) {
    QString line = QStringLiteral("  %1 \"%2\" ").arg(item.name, item.caption);
    switch (item.kind) {
    case CourseItemKind::Document:
        line += item.document;
        break;
    case CourseItemKind::Test:
        line += QStringLiteral("test %1").arg(item.test);
        break;
    case CourseItemKind::Command:
        line += QStringLiteral("command back");
        break;
    }
    if (item.afterTest > 0) {
        line += QStringLiteral(", after test %1").arg(item.afterTest);
    }
    const TestSettings& settings = item.settings;
    if (settings.draw > 0) {
        line += QStringLiteral(", draw %1").arg(settings.draw);
    }
    if (settings.shuffleAnswers) {
        line += QStringLiteral(", answers shuffled");
    }
    if (settings.minutes > 0) {
        line += QStringLiteral(", %1 min").arg(settings.minutes);
    }
    if (settings.review == TestSettings::Review::After) {
        line += QStringLiteral(", review after");
    }
    return line;
}

int show(const QStringList& args, QTextStream& out, QTextStream& err) {
    const std::optional<QString> folder = folderOf(args, QStringLiteral("show"), err);
    if (!folder) {
        return 2;
    }
    const CourseBook course = CourseBook::read(*folder);
    out << "\"" << course.caption << "\" (" << course.id << "), help " << course.help << "\n";
    for (const CourseMenu& menu : course.menus) {
        out << menu.name << " \"" << menu.caption << "\"";
        if (menu.beforeSignIn) {
            out << ", before sign-in too";
        }
        out << "\n";
        for (const CourseItem& item : menu.items) {
            out << itemLine(item) << "\n";
        }
    }
    out << "then the program's own menus: \"Басқару\", \"Авторизация формаға\", \"Көмек\", "
           "\"Шығу\"\n";
    return 0;
}

} // namespace

int printCourseCheck(const QString& folder, QTextStream& out) {
    int errors = 0;
    int warnings = 0;
    for (CourseProblem problem : checkCourseFolder(folder)) {
        const bool isError = problem.isError();
        (isError ? errors : warnings) += 1;
        problem.text.prepend(isError ? QStringLiteral("error: ") : QStringLiteral("warning: "));
        out << problem.line() << "\n";
    }
    out << counted(errors, "error", "errors") << ", " << counted(warnings, "warning", "warnings")
        << "\n";
    return errors;
}

QList<AdminCommand> courseCommands() {
    return {
        {{QStringLiteral("course"), QStringLiteral("check")},
         QStringLiteral("[FOLDER]"),
         QStringLiteral("list every problem of a course folder's course.toml and documents"),
         QStringLiteral(
             "Checks the course folder FOLDER (the current directory when none is given) as the\n"
             "program reads it at start-up, and prints every problem, one per line, as\n"
             "\"course.toml:LINE:COLUMN: error: problem\" where it has a place in the file.\n"
             "Errors are what stops the program at start-up: a TOML syntax error, an unknown\n"
             "key, a value of the wrong type, a missing required key, a missing document or\n"
             "picture, two items or menus with one name (whatever the letter case), an\n"
             "after_test naming a test the course lacks or the item's own test, a bad id or\n"
             "command, a test's draw above the questions of its built file, minutes below 1,\n"
             "a review other than \"none\" or \"after\", test settings on another item.\n"
             "Warnings: a test item whose file data/tests/testN.ini is not built yet, a link\n"
             "inside a course document (href or src) to a file that does not exist, a document\n"
             "under data/ that no menu item and no link reaches. A folder without\n"
             "course.toml is checked as the shipped course, its problems warnings only.\n"
             "The last line counts the errors and warnings. Exit status 1 when there are\n"
             "errors, 0 otherwise."),
         -1,
         check},
        {{QStringLiteral("course"), QStringLiteral("show")},
         QStringLiteral("[FOLDER]"),
         QStringLiteral("print the course's menus as the program shows them"),
         QStringLiteral(
             "Reads the course of FOLDER (the current directory when none is given) and prints\n"
             "its caption and id, then each of its menus in menu-bar order: the menu's object\n"
             "name and caption (\"before sign-in too\" for a menu shown on the sign-in screen),\n"
             "and under it each item: object name, caption in quotes (trailing spaces kept),\n"
             "then its document, \"test N\" or \"command back\", and \", after test K\" when it\n"
             "is locked until test K is passed. A test's settings follow: \", draw N\",\n"
             "\", answers shuffled\", \", M min\" and \", review after\", each when it is set.\n"
             "The program's own menus follow the course's.\n"
             "A course file with errors is refused with its first error, as the program\n"
             "refuses it (exit status 1)."),
         -1,
         show},
    };
}

} // namespace velmora::admin
