// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <functional>
#include <optional>

namespace velmora::admin {

// One command of velmora-admin, such as "ini get". Each group of commands lives in a file of its
// own and hands its list to main.
struct AdminCommand {
    QStringList words; // {"ini", "get"}
    QString arguments; // "FILE SECTION KEY"
    QString summary;   // one line for --help
    QString help;      // the command's own help text
    int argumentCount; // exact number of arguments after the words; -1 for any
    // Runs the command; returns the exit status. Failures may also be thrown as velmora::Failure.
    std::function<int(const QStringList& args, QTextStream& out, QTextStream& err)> run;
};

QList<AdminCommand> iniCommands();
QList<AdminCommand> gradesCommands();
QList<AdminCommand> userCommands();
QList<AdminCommand> testCommands();
QList<AdminCommand> journalCommands();
QList<AdminCommand> courseCommands();
QList<AdminCommand> courseAuthoringCommands();
QList<AdminCommand> attemptCommands();
QList<AdminCommand> resultsCommands();

// Prints every problem of the course folder as `course check` does, then the count of errors and
// warnings; returns the number of errors.
int printCourseCheck(const QString& folder, QTextStream& out);

// "1 question", "2 questions": a count with its noun in the singular (`one`) or the plural
// (`many`), as English says it.
QString counted(qint64 count, const char* one, const char* many);

// The command-line arguments after the program name, decoded from the terminal's UTF-8. Nothing,
// after a message on `err`, when one of them is not UTF-8 text.
std::optional<QStringList> terminalArguments(int argc, const char* const* argv, QTextStream& err);

// Runs velmora-admin with the arguments after the program name; returns the exit status.
int runAdmin(const QStringList& args, QTextStream& out, QTextStream& err);
// The same with the given commands in place of velmora-admin's own.
int runAdmin(const QStringList& args, QTextStream& out, QTextStream& err,
             const QList<AdminCommand>& commands);

} // namespace velmora::admin
