// SPDX-License-Identifier: GPL-3.0-or-later
#include "admin_command.h"

#include "core/storage/failure.h"

#include <QStringDecoder>
#include <exception>

namespace velmora::admin {
namespace {

QList<AdminCommand> allCommands() {
    QList<AdminCommand> commands;
    commands += iniCommands();
    commands += gradesCommands();
    commands += userCommands();
    commands += testCommands();
    commands += journalCommands();
    commands += courseCommands();
    commands += courseAuthoringCommands();
    commands += attemptCommands();
    commands += resultsCommands();
    return commands;
}

QString usageLine(const AdminCommand& c) {
    return QStringLiteral("velmora-admin %1 %2")
        .arg(c.words.join(QLatin1Char(' ')), c.arguments)
        .trimmed();
}

void printHelp(QTextStream& out) {
    out << "Usage: velmora-admin COMMAND [ARGUMENTS]\n"
           "The teacher's companion to the Velmora course book: reads and writes the course\n"
           "folder's files. Values of scrambled INI files are shown and taken unscrambled, in the\n"
           "terminal's encoding.\n\nCommands:\n";
    for (const AdminCommand& c : allCommands()) {
        out << "  " << usageLine(c) << "\n      " << c.summary << "\n";
    }
    out << "\n'velmora-admin COMMAND --help' shows the help of one command.\n\n"
           "Run it in the course folder: a relative FILE, SOURCE or OUTPUT is taken from the\n"
           "current directory, and folder and file names match whatever their letter case, as\n"
           "the program matches them; a file to be written (OUTPUT, OUT) is the exact name\n"
           "given.\n\n"
           "Exit status: 0 when the command was done, 1 when it failed or found a problem (the\n"
           "reason is on the error output), 2 for a wrong command or wrong arguments.\n";
}

bool isHelp(const QString& arg) {
    return arg == QStringLiteral("--help") || arg == QStringLiteral("-h");
}

// The commands of the group named by `word` ("users" gives "users list", "users add", ...).
QList<AdminCommand> groupOf(const QString& word, const QList<AdminCommand>& commands) {
    QList<AdminCommand> group;
    for (const AdminCommand& c : commands) {
        if (c.words.size() > 1 && c.words.first() == word) {
            group.append(c);
        }
    }
    return group;
}

void printGroupHelp(const QString& word, const QList<AdminCommand>& group, QTextStream& out) {
    out << "Usage: velmora-admin " << word << " COMMAND [ARGUMENTS]\n\nCommands:\n";
    for (const AdminCommand& c : group) {
        out << "  " << usageLine(c) << "\n      " << c.summary << "\n";
    }
    out << "\n'velmora-admin " << word << " COMMAND --help' shows the help of one command.\n";
}

bool startsWith(const QStringList& args, const QStringList& words) {
    if (args.size() < words.size()) {
        return false;
    }
    for (qsizetype i = 0; i < words.size(); ++i) {
        if (args[i] != words[i]) {
            return false;
        }
    }
    return true;
}

} // namespace

QString counted(qint64 count, const char* one, const char* many) {
    return QString::number(count) + u' ' + QString::fromUtf8(count == 1 ? one : many);
}

std::optional<QStringList> terminalArguments(int argc, const char* const* argv, QTextStream& err) {
    QStringList args;
    for (int i = 1; i < argc; ++i) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString arg = utf8.decode(QByteArrayView(argv[i]));
        if (utf8.hasError()) {
            err << "velmora-admin: argument " << i
                << " is not UTF-8 text; set the terminal to UTF-8\n";
            return std::nullopt;
        }
        args.append(std::move(arg));
    }
    return args;
}

int runAdmin(const QStringList& args, QTextStream& out, QTextStream& err) {
    return runAdmin(args, out, err, allCommands());
}

int runAdmin(const QStringList& args, QTextStream& out, QTextStream& err,
             const QList<AdminCommand>& commands) {
    if (args.isEmpty()) {
        printHelp(err);
        return 2;
    }
    if (isHelp(args.first())) {
        printHelp(out);
        return 0;
    }
    if (const QList<AdminCommand> group = groupOf(args.first(), commands);
        !group.isEmpty() && args.size() == 2 && isHelp(args[1])) {
        printGroupHelp(args.first(), group, out);
        return 0;
    }
    for (const AdminCommand& c : commands) {
        if (!startsWith(args, c.words)) {
            continue;
        }
        const QStringList rest = args.mid(c.words.size());
        if (rest.contains(QStringLiteral("--help"))) {
            out << "Usage: " << usageLine(c) << "\n\n" << c.help << "\n";
            return 0;
        }
        if (c.argumentCount >= 0 && rest.size() != c.argumentCount) {
            err << "velmora-admin: usage: " << usageLine(c) << "\n";
            return 2;
        }
        try {
            return c.run(rest, out, err);
        } catch (const Failure& f) {
            err << "velmora-admin: " << f.message() << "\n";
            return 1;
        } catch (const std::exception& e) {
            // Anything else (memory exhausted, a library's own exception) is a failure too.
            err << "velmora-admin: " << QString::fromLocal8Bit(e.what()) << "\n";
            return 1;
        }
    }
    err << "velmora-admin: unknown command '" << args.join(QLatin1Char(' '))
        << "'; see 'velmora-admin --help'\n";
    return 2;
}

} // namespace velmora::admin
