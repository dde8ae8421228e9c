// SPDX-License-Identifier: GPL-3.0-or-later
// velmora_student NEW|RETURNING NAME PASSWORD TEST ANSWER...: one student at one computer of a
// classroom, in the course folder that is the current directory. Registers (NEW) or not, signs
// in, takes the test answering the given positions, and goes back from the progress screen, all
// through the main window's controls. Prints every message box shown; exits 0 when none was an
// error and the finished test's grade is stored.
#include "gui/documents/document_view.h"
#include "gui/kit/message_boxes.h"
#include "support/course_driver.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <cstdio>

namespace {

int takeTest(const QStringList& args) {
    const QString folder = QDir::currentPath();
    velmora::test::CourseDriver course;
    QDir::setCurrent(folder);
    course.start();
    const QString& name = args[1];
    if (args[0] == QStringLiteral("NEW")) {
        course.registerStudent(name, args[2]);
    }
    course.signIn(name, args[2]);
    const int test = args[3].toInt();
    course.startTest(test);
    for (qsizetype i = 4; i < args.size(); ++i) {
        course.answer(args[i].toInt());
    }
    course.leaveProgress();
    bool failed = false;
    for (const auto& box : course.boxes()) {
        std::fprintf(stderr, "box: %s: %s\n", qUtf8Printable(box.caption),
                     qUtf8Printable(box.text));
        failed = failed || box.kind == velmora::MessageBoxes::Kind::Error;
    }
    const QString grade = course.storedGrade(name, test);
    std::fprintf(stderr, "grade of test %d: %s\n", test, qUtf8Printable(grade));
    QDir::setCurrent(QDir::tempPath());
    return failed || grade.toInt() == 0 ? 1 : 0;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    velmora::prepareDocumentViews();
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    velmora::MessageBoxes::setHeadless(true);
    const QStringList args = QApplication::arguments().mid(1);
    if (args.size() < 5) {
        std::fputs("Usage: velmora_student NEW|RETURNING NAME PASSWORD TEST ANSWER...\n", stderr);
        return 2;
    }
    return takeTest(args);
}
