// SPDX-License-Identifier: GPL-3.0-or-later
#include "admin_command.h"

#include "core/access/admin_settings.h"
#include "core/access/registration.h"
#include "core/access/user_list.h"
#include "core/access/user_register.h"
#include "core/course/course_book.h"
#include "core/storage/failure.h"
#include "core/storage/scrambled_store.h"

namespace velmora::admin {
namespace {

// The administrator login, when the settings can be read: a student may not take that name.
QString adminLoginOrEmpty() {
    try {
        return AdminSettings::read().login;
    } catch (const Failure&) {
        return {};
    }
}

// A section without a password is not a student's (the administrator's grades have none).
bool isRegistered(const QString& name, QTextStream& err) {
    if (UserRegister::storedPassword(name)) {
        return true;
    }
    err << "velmora-admin: no student '" << name << "' in users.ini\n";
    return false;
}

int usersList(const QStringList&, QTextStream& out, QTextStream&) {
    const UserList list = UserList::load();
    for (const QString& name : list.names()) {
        out << name << "\n";
    }
    return 0;
}

int usersAdd(const QStringList& a, QTextStream&, QTextStream& err) {
    UserList list = UserList::load();
    if (const auto refusal = Registration::registerStudent(a[0], a[1], adminLoginOrEmpty(), list)) {
        err << "velmora-admin: " << *refusal << "\n";
        return 1;
    }
    return 0;
}

int usersRemove(const QStringList& a, QTextStream&, QTextStream& err) {
    if (!isRegistered(a[0], err)) {
        return 1;
    }
    UserRegister::erase(a[0]);
    UserList().update([&](UserList& current) { current.removeFirst(a[0]); });
    return 0;
}

int usersGrades(const QStringList& a, QTextStream& out, QTextStream& err) {
    if (!isRegistered(a[0], err)) {
        return 1;
    }
    UserRegister::readGrades(a[0]).takeInOrder([&](int test, quint8 grade) {
        out << UserRegister::testKey(test) << " " << grade << "\n";
    });
    return 0;
}

int settingsShow(const QStringList&, QTextStream& out, QTextStream&) {
    const AdminSettings s = AdminSettings::read();
    out << "login: " << s.login << "\npassword: " << s.password << "\nreport file: " << s.reportFile
        << "\n";
    return 0;
}

int settingsSet(const QStringList& a, QTextStream&, QTextStream& err) {
    if (const auto refusal = AdminSettings::applyRefusal(a[0], a[1], a[1], a[2])) {
        err << "velmora-admin: " << *refusal << "\n";
        return 1;
    }
    AdminSettings{a[0], a[1], a[2]}.write();
    return 0;
}

AdminCommand command(const QString& group, const QString& verb, const QString& arguments,
                     const QString& summary, const QString& help, int count,
                     int (*run)(const QStringList&, QTextStream&, QTextStream&)) {
    return {{group, verb}, arguments, summary, help, count, run};
}

} // namespace

QList<AdminCommand> userCommands() {
    const QString users = QStringLiteral("users");
    const QString settings = QStringLiteral("settings");
    const QString inFolder =
        QStringLiteral("\nRun it in the course folder (the folder that holds users.ini).");
    return {
        command(users, QStringLiteral("list"), QString(),
                QStringLiteral("print the registered names, one per line"),
                QStringLiteral("Prints the name list file \"users\" of the current folder.") +
                    inFolder,
                0, usersList),
        command(users, QStringLiteral("add"), QStringLiteral("NAME PASSWORD"),
                QStringLiteral("register a student as the sign-in screen does"),
                QStringLiteral(
                    "Registers NAME with PASSWORD: test 1 graded 1, tests 2 to grade_slots of\n"
                    "course.toml graded 0, the moment of registration kept (the journal counts\n"
                    "the student's log lines from it on), the name added to the list. Refuses a\n"
                    "taken name (in any letter case), the administrator login and names the\n"
                    "files cannot hold.") +
                    inFolder,
                2, usersAdd),
        command(users, QStringLiteral("remove"), QStringLiteral("NAME"),
                QStringLiteral("remove a student without asking for the password"),
                QStringLiteral(
                    "Erases the register section of NAME (letter case ignored) and the first\n"
                    "matching entry of the name list.") +
                    inFolder,
                1, usersRemove),
        command(
            users, QStringLiteral("grades"), QStringLiteral("NAME"),
            QStringLiteral("print the stored grades of every test slot"),
            QStringLiteral("Prints \"testN GRADE\" for N = 1 to grade_slots of course.toml (0 = "
                           "not taken,\npass_grade or more passed).") +
                inFolder,
            1, usersGrades),
        command(
            settings, QStringLiteral("show"), QString(),
            QStringLiteral("print the administrator settings"),
            QStringLiteral("Prints the login, password and test log file of data/info/tumb.db.") +
                inFolder,
            0, settingsShow),
        command(settings, QStringLiteral("set"), QStringLiteral("LOGIN PASSWORD REPORTFILE"),
                QStringLiteral("replace the administrator settings"),
                QStringLiteral(
                    "Writes \"LOGIN|PASSWORD|REPORTFILE\" as the only line of data/info/tumb.db.\n"
                    "The login may not be empty; no value may hold \"|\". The running program\n"
                    "reads the new line at its next start.") +
                    inFolder,
                3, settingsSet),
    };
}

} // namespace velmora::admin
