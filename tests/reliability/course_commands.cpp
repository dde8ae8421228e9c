// SPDX-License-Identifier: GPL-3.0-or-later
#include "course_commands.h"
#include "core/program/course_state.h"

#include "core/exam/question_source_converter.h"
#include "core/exam/test_log.h"
#include "course_state.h"
#include "gui/kit/handler_guard.h"

#include <QDir>
#include <stdexcept>

namespace velmora::test {
namespace {

void convertInto(CourseDriver& c, const QString& source, const QString& output) {
    guarded(&c.window(), [&] { QuestionSourceConverter().convert(source, output); });
}

} // namespace

const std::vector<Command>& courseCommands() {
    static const std::vector<Command> list = {
        {"start-up",
         {QStringLiteral("users"), QStringLiteral("data/info/tumb.db")},
         [](CourseDriver& c) { c.show(); }},
        {"sign-in",
         {QStringLiteral("users.ini")},
         [](CourseDriver& c) { c.signIn(QStringLiteral("Ivan"), QStringLiteral("pw")); }},
        {"registration",
         {QStringLiteral("users.ini"), QStringLiteral("users")},
         [](CourseDriver& c) { c.registerStudent(QStringLiteral("Петр"), QStringLiteral("pw2")); }},
        {"deletion",
         {QStringLiteral("users.ini"), QStringLiteral("users")},
         [](CourseDriver& c) { c.deleteStudent(QStringLiteral("Ivan"), QStringLiteral("pw")); }},
        // "Настройки администратора" and "Применить"; whoever signed in (if anyone): the rows
        // include settings files from which no administrator can be read.
        {"settings",
         {QStringLiteral("data/info/tumb.db")},
         [](CourseDriver& c) {
             c.choose("Ntun");
             c.applyAdminSettings(QStringLiteral("teacher"), QStringLiteral("new"),
                                  QStringLiteral("new"), QStringLiteral("log.txt"));
         }},
        {"test",
         {QStringLiteral("data/tests/test1.ini")},
         [](CourseDriver& c) {
             c.signIn(QStringLiteral("Ivan"), QStringLiteral("pw"));
             c.forgetBoxes();
             c.startTest(1);
         }},
        // The program is left with "OK": the grades of whoever signed in (the row's staging signs
        // in) are written back.
        {"close", {QStringLiteral("users.ini")}, [](CourseDriver& c) { c.closeWindow(); }},
        {"log view", {QStringLiteral("log.txt")}, [](CourseDriver& c) { c.choose("N30"); }},
        {"log line",
         {QStringLiteral("log.txt")},
         [](CourseDriver& c) {
             guarded(&c.window(), [&] {
                 TestLog::append(c.session().admin.reportFile, QStringLiteral("Ivan | 1"));
             });
         }},
        {"conversion",
         {QStringLiteral("source.txt")},
         [](CourseDriver& c) {
             convertInto(c, QStringLiteral("source.txt"), QStringLiteral("out.ini"));
         }},
        {"conversion from a folder",
         {QStringLiteral("sources/source.txt")},
         [](CourseDriver& c) {
             convertInto(c, QStringLiteral("sources/source.txt"), QStringLiteral("out.ini"));
         }},
        // The source converted over the test file of test 1, named by its full path as the
        // scrambling tool names it.
        {"test conversion",
         {QStringLiteral("source.txt"), QStringLiteral("data/tests/test1.ini")},
         [](CourseDriver& c) {
             convertInto(c, QStringLiteral("source.txt"),
                         QDir::current().absoluteFilePath(QStringLiteral("data/tests/test1.ini")));
         }},
    };
    return list;
}

const Command& commandNamed(const char* name) {
    for (const Command& c : courseCommands()) {
        if (qstrcmp(c.name, name) == 0) {
            return c;
        }
    }
    throw std::invalid_argument(name);
}

Outcome runCommand(const TempFolder& folder, const char* command,
                   const std::function<void(CourseDriver&)>& stage) {
    CourseDriver course(folder);
    course.create();
    if (qstrcmp(command, "start-up") != 0) {
        course.show();
        course.forgetBoxes();
    }
    if (stage) {
        stage(course);
        course.forgetBoxes();
    }
    const auto before = snapshot(folder);
    commandNamed(command).run(course);
    return {course.boxTexts(), changedFiles(before, snapshot(folder))};
}

QStringList inFolder(const QStringList& texts, const TempFolder& folder) {
    QStringList out;
    for (const QString& text : texts) {
        out.append(text.contains(QStringLiteral("%1")) ? text.arg(folder.path()) : text);
    }
    return out;
}

} // namespace velmora::test
