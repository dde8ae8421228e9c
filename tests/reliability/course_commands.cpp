#include "course_commands.h"

#include "core/exam/question_source_converter.h"
#include "core/exam/test_log.h"
#include "course_state.h"
#include "gui/kit/handler_guard.h"
#include "gui/kit/message_boxes.h"
#include "gui/screens/admin_screen.h"
#include "gui/screens/sign_in_screen.h"
#include "support/recording_document_view.h"

#include <QDir>
#include <QLineEdit>
#include <stdexcept>

namespace velmora::test {
namespace {

void typeSignIn(MainWindow& w, const QString& name, const QString& password) {
    w.signInContent()->nameBox()->setText(name);
    w.signInContent()->passwordBox()->setText(password);
}

void convertInto(MainWindow& w, const QString& source, const QString& output) {
    guarded(&w, [&] { QuestionSourceConverter().convert(source, output); });
}

} // namespace

const std::vector<Command>& courseCommands() {
    static const std::vector<Command> list = {
        {"start-up",
         {QStringLiteral("users"), QStringLiteral("data/info/tumb.db")},
         [](MainWindow& w) { w.show(); }},
        {"sign-in",
         {QStringLiteral("users.ini")},
         [](MainWindow& w) { signIn(w, QStringLiteral("Ivan"), QStringLiteral("pw")); }},
        {"registration",
         {QStringLiteral("users.ini"), QStringLiteral("users")},
         [](MainWindow& w) {
             typeSignIn(w, QStringLiteral("Петр"), QStringLiteral("pw2"));
             w.SpeedButton1Click();
         }},
        {"deletion",
         {QStringLiteral("users.ini"), QStringLiteral("users")},
         [](MainWindow& w) {
             typeSignIn(w, QStringLiteral("Ivan"), QStringLiteral("pw"));
             w.SpeedButton2Click();
         }},
        {"settings",
         {QStringLiteral("data/info/tumb.db")},
         [](MainWindow& w) {
             w.adminContent()->loginBox()->setText(QStringLiteral("teacher"));
             w.adminContent()->passwordBox()->setText(QStringLiteral("new"));
             w.adminContent()->passwordAgainBox()->setText(QStringLiteral("new"));
             w.adminContent()->reportFileBox()->setText(QStringLiteral("log.txt"));
             w.SpeedButton7Click();
         }},
        {"test",
         {QStringLiteral("data/tests/test1.ini")},
         [](MainWindow& w) {
             signIn(w, QStringLiteral("Ivan"), QStringLiteral("pw"));
             MessageBoxes::clearShown();
             w.test1Click();
         }},
        // A grade changes as a finished test changes it, and the program is left with "OK": the
        // grades of whoever signed in (the row's staging signs in) are written back.
        {"close",
         {QStringLiteral("users.ini")},
         [](MainWindow& w) {
             w.grades[2] = 4;
             MessageBoxes::setNextAnswer(MessageBoxes::Answer::Ok);
             w.close();
         }},
        {"log view", {QStringLiteral("log.txt")}, [](MainWindow& w) { w.N30Click(); }},
        {"log line",
         {QStringLiteral("log.txt")},
         [](MainWindow& w) {
             guarded(&w, [&] { TestLog::append(w.reportfile, QStringLiteral("Ivan | 1")); });
         }},
        {"conversion",
         {QStringLiteral("source.txt")},
         [](MainWindow& w) {
             convertInto(w, QStringLiteral("source.txt"), QStringLiteral("out.ini"));
         }},
        {"conversion from a folder",
         {QStringLiteral("sources/source.txt")},
         [](MainWindow& w) {
             convertInto(w, QStringLiteral("sources/source.txt"), QStringLiteral("out.ini"));
         }},
        // The source converted over the test file of test 1, named by its full path as the
        // scrambling tool names it.
        {"test conversion",
         {QStringLiteral("source.txt"), QStringLiteral("data/tests/test1.ini")},
         [](MainWindow& w) {
             convertInto(w, QStringLiteral("source.txt"),
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
                   const std::function<void(MainWindow&)>& stage) {
    MessageBoxes::clearShown();
    MainWindow window(RecordingDocumentView::factory());
    if (qstrcmp(command, "start-up") != 0) {
        window.show();
        MessageBoxes::clearShown();
    }
    if (stage) {
        stage(window);
        MessageBoxes::clearShown();
    }
    const auto before = snapshot(folder);
    commandNamed(command).run(window);
    return {shownBoxes(), changedFiles(before, snapshot(folder))};
}

QStringList inFolder(const QStringList& texts, const TempFolder& folder) {
    QStringList out;
    for (const QString& text : texts) {
        out.append(text.contains(QStringLiteral("%1")) ? text.arg(folder.path()) : text);
    }
    return out;
}

} // namespace velmora::test
