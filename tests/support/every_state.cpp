// SPDX-License-Identifier: GPL-3.0-or-later
#include "every_state.h"

#include "core/program/course_state.h"
#include "core/storage/code_page.h"
#include "gui/documents/document_screen.h"
#include "gui/windows/about_author_window.h"
#include "gui/windows/about_program_dialog.h"
#include "gui/windows/group_journal_window.h"
#include "gui/windows/scrambling_tool.h"
#include "gui/windows/title_page.h"
#include "support/course_driver.h"
#include "support/test_file_builder.h"

#include <QTabWidget>
#include <gtest/gtest.h>

namespace velmora::test {
namespace {

// Three questions whose answers run to several lines each.
QList<QuestionSpec> longAnswers() {
    const QString words = QStringLiteral("ақпаратты өңдеу жүйесінің құрамдас бөлігі ").repeated(8);
    QList<QuestionSpec> questions;
    for (int n = 1; n <= 3; ++n) {
        QStringList answers;
        for (int a = 1; a <= 5; ++a) {
            answers << QStringLiteral("%1) %2").arg(QChar(u'A' + a - 1)).arg(words);
        }
        questions.append({QStringLiteral("Сұрақ %1?").arg(n), answers, QStringLiteral("2")});
    }
    return questions;
}

void walkStudent(CourseDriver& course, const StateVisit& visit) {
    const MainWindow& window = course.window();
    course.signIn(QStringLiteral("Айгүл"), QStringLiteral("pw"));
    if (!course.state().session().signedIn) {
        ADD_FAILURE() << "the student did not sign in: "
                      << course.boxTexts().join(u'|').toStdString();
    }
    visit(window, "document screen, student");
    findIn<DocumentScreen>(window, "documentScreen")
        ->openFindBar(QStringLiteral("ақпараттық жүйелер"));
    visit(window, "document screen with the find bar");
    findIn<DocumentScreen>(window, "documentScreen")->closeFindBar();
    course.startTest(1);
    visit(window, "test screen, answers of several lines");
    course.answer({2, 2, 2});
    visit(window, "progress screen, student");
    course.leaveProgress();
}

void walkAdministrator(CourseDriver& course, const StateVisit& visit) {
    const MainWindow& window = course.window();
    course.choose("NaFormuAvtorizazii");
    course.signIn(QStringLiteral("admin"), QStringLiteral("admin"));
    visit(window, "administrator screen");
    course.choose("Ntun");
    visit(window, "administrator settings");
    course.leaveAdminSettings();
    course.choose("N30");
    visit(window, "test log");
    course.leaveTestLog();
    course.choose("Ni");
    course.pickUser(0);
    visit(window, "progress screen, administrator with the user list");
    course.choose("njournal");
    const auto* journal = findIn<GroupJournalWindow>(window, "JournalForm");
    visit(*journal, "group journal, grades");
    findIn<QTabWidget>(*journal, "tabs")->setCurrentIndex(1);
    visit(*journal, "group journal, questions");
}

} // namespace

void walkEveryState(CourseDriver& course, const StateVisit& visit) {
    course.folder().write(QStringLiteral("users"), CodePage::encode(QStringLiteral("Айгүл\r\n")));
    course.folder().write(
        QStringLiteral("report.txt"),
        CodePage::encode(QStringLiteral("Айгүл | 10:00:00 | 08.12.2026 | test1 | 5\r\n")));
    writeTestFile(QStringLiteral("test1"), longAnswers(), QStringLiteral("3"));
    course.storeStudent(QStringLiteral("Айгүл"), QStringLiteral("pw"),
                        {5, 4, 3, 2, 1, 0, 0, 0, 0, 0});
    visit(course.start(), "sign-in screen");
    walkStudent(course, visit);
    walkAdministrator(course, visit);
}

void walkOtherWindows(const StateVisit& visit) {
    TitlePage title(nullptr);
    AboutProgramDialog aboutProgram;
    AboutAuthorWindow aboutAuthor;
    ScramblingTool tool;
    for (QWidget* window :
         std::initializer_list<QWidget*>{&title, &aboutProgram, &aboutAuthor, &tool}) {
        window->show();
        visit(*window, window->metaObject()->className());
        window->hide();
    }
}

} // namespace velmora::test
