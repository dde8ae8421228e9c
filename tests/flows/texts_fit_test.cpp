// SPDX-License-Identifier: GPL-3.0-or-later
// Every text of every screen and window is whole on the screen: each visible control's text fits
// it or wraps within its height. The main window is walked through the states a student and the
// teacher meet; the other windows and the message boxes are looked at as they open.

#include "core/access/access_texts.h"
#include "core/exam/question_bank.h"
#include "core/storage/code_page.h"
#include "gui/documents/course_search.h"
#include "gui/documents/document_screen.h"
#include "gui/kit/message_boxes.h"
#include "gui/windows/about_author_window.h"
#include "gui/windows/about_program_dialog.h"
#include "gui/windows/course_search_window.h"
#include "gui/windows/group_journal_window.h"
#include "gui/windows/scrambling_tool.h"
#include "gui/windows/title_page.h"
#include "support/course_driver.h"
#include "support/test_file_builder.h"
#include "support/widget_tree.h"

#include <QTabWidget>
#include <gtest/gtest.h>

namespace velmora::test {
namespace {

using namespace texts;

void expectAllFit(const QWidget& root, const char* where) {
    const QStringList misfits = textsThatDoNotFit(&root);
    EXPECT_TRUE(misfits.isEmpty())
        << where << ":\n  " << misfits.join(QStringLiteral("\n  ")).toStdString();
}

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

TEST(TextsFit, OnEveryScreenOfTheMainWindowInEveryState) {
    CourseDriver course;
    course.folder().write(QStringLiteral("users"), CodePage::encode(QStringLiteral("Айгүл\r\n")));
    course.folder().write(
        QStringLiteral("report.txt"),
        CodePage::encode(QStringLiteral("Айгүл | 10:00:00 | 08.12.2026 | test1 | 5\r\n")));
    writeTestFile(QStringLiteral("test1"), longAnswers(), QStringLiteral("3"));
    course.storeStudent(QStringLiteral("Айгүл"), QStringLiteral("pw"), {5, 4, 3, 2, 1});
    const MainWindow& window = course.start();
    expectAllFit(window, "sign-in screen");

    course.signIn(QStringLiteral("Айгүл"), QStringLiteral("pw"));
    expectAllFit(window, "document screen, student");
    findIn<DocumentScreen>(window, "documentScreen")
        ->openFindBar(QStringLiteral("ақпараттық жүйелер"));
    expectAllFit(window, "document screen with the find bar");
    findIn<DocumentScreen>(window, "documentScreen")->closeFindBar();
    course.startTest(1);
    expectAllFit(window, "test screen, answers of several lines");
    course.answer({2, 2, 2});
    expectAllFit(window, "progress screen, student");
    course.leaveProgress();

    course.choose("NaFormuAvtorizazii");
    course.signIn(QStringLiteral("admin"), QStringLiteral("admin"));
    expectAllFit(window, "administrator screen");
    course.choose("Ntun");
    expectAllFit(window, "administrator settings");
    course.leaveAdminSettings();
    course.choose("N30");
    expectAllFit(window, "test log");
    course.leaveTestLog();
    course.choose("Ni");
    course.pickUser(0);
    expectAllFit(window, "progress screen, administrator with the user list");
    course.choose("njournal");
    expectAllFit(*findIn<GroupJournalWindow>(window, "JournalForm"), "group journal, grades");
    findIn<QTabWidget>(*findIn<GroupJournalWindow>(window, "JournalForm"), "tabs")
        ->setCurrentIndex(1);
    expectAllFit(*findIn<GroupJournalWindow>(window, "JournalForm"), "group journal, questions");
}

TEST(TextsFit, InTheOtherWindowsAndTheMessageBoxes) {
    TitlePage title(nullptr);
    AboutProgramDialog aboutProgram;
    AboutAuthorWindow aboutAuthor;
    ScramblingTool tool;
    for (QWidget* window :
         std::initializer_list<QWidget*>{&title, &aboutProgram, &aboutAuthor, &tool}) {
        window->show();
        expectAllFit(*window, window->metaObject()->className());
        window->hide();
    }
    const QString texts[] = {
        wrongNameOrPassword(),
        invalidUserName(),
        invalidPassword(),
        nameTaken(),
        registered(),
        checkPassword(),
        invalidAdminSettings(),
        QStringLiteral("Cannot open file \"/home/student/.local/share/velmora/course/data/"
                       "tests/test10.ini\". No such file or directory"),
        QuestionBank::nothingImported(
            QStringLiteral("/home/teacher/Документы/Банки вопросов/Сети и протоколы.gift")),
    };
    for (const QString& text : texts) {
        const auto box = MessageBoxes::makeBox(nullptr, MessageBoxes::Kind::Warning,
                                               QStringLiteral("Warning"), text, true);
        box->show();
        expectAllFit(*box, text.toUtf8().constData());
    }
}

} // namespace
} // namespace velmora::test
