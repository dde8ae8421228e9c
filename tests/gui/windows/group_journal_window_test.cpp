// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/storage/code_page.h"
#include "core/storage/scrambled_store.h"
#include "gui/kit/message_boxes.h"
#include "gui/kit/print_dialogs.h"
#include "gui/windows/group_journal_window.h"
#include "support/course_driver.h"
#include "support/fixed_save_chooser.h"
#include "support/temp_folder.h"
#include "support/test_file_builder.h"
#include "support/widget_tree.h"

#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTabWidget>
#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;
using namespace Qt::StringLiterals;

namespace {

// Two students, two tests, a test log with one line that cannot be used.
class GroupJournalWindowFiles : public ::testing::Test {
protected:
    GroupJournalWindowFiles() {
        writeTestFile(u"test1"_s, numberedQuestions({1, 2}), u"2"_s);
        writeTestFile(u"test2"_s, numberedQuestions({3}), u"1"_s);
        for (const QString& name : {u"Айгүл Серікова"_s, u"Бекзат Омаров"_s}) {
            writeini(name, u"password"_s, u"p"_s, u"\\users.ini"_s);
            writeini(name, u"test1"_s, u"4"_s, u"\\users.ini"_s);
        }
        folder_.write(u"users"_s, CodePage::encode(u"Айгүл Серікова\r\nБекзат Омаров\r\n"));
        folder_.write(u"report.txt"_s,
                      CodePage::encode(u"Айгүл Серікова | 10:00:00 | 01.02.2025 | test1 | 4\r\n"
                                       u"Бекзат Омаров | 10:00:00 | 01.02.2025 | test1 | 9\r\n"_s));
        folder_.write(
            u"report.answers.txt"_s,
            CodePage::encode(u"Айгүл Серікова | 09:59:00 | 01.02.2025 | test1 | 1 | A | A "
                             u"| 00000000\r\n"_s));
        window_.reload(u"report.txt"_s);
        window_.show();
    }
    TempFolder folder_;
    GroupJournalWindow window_;
};

TEST_F(GroupJournalWindowFiles, MatchesTheReviewedDumpOnBothTabs) {
    // The window's dump stops at the tab widget's own helpers: each page is dumped by itself.
    expectMatchesGolden(u"group_journal"_s, dumpWidgetTree(&window_));
    expectMatchesGolden(u"group_journal_grades"_s,
                        dumpWidgetTree(findIn<QTabWidget>(window_, "tabs")->currentWidget()));
    findIn<QTabWidget>(window_, "tabs")->setCurrentIndex(1);
    expectMatchesGolden(u"group_journal_questions"_s,
                        dumpWidgetTree(findIn<QTabWidget>(window_, "tabs")->currentWidget()));
}

TEST_F(GroupJournalWindowFiles, PrintsTheGradesToThePdfTheDialogNames) {
    PrintDialogs::setHeadless(true);
    const QString pdf = folder_.file(u"journal.pdf"_s);
    PrintDialogs::setNextAnswer(pdf);
    const int asked = PrintDialogs::asked();
    findIn<QPushButton>(window_, "print")->click();
    EXPECT_EQ(PrintDialogs::asked(), asked + 1);
    EXPECT_GT(QFileInfo(pdf).size(), 0);
    QFile::remove(pdf);
    PrintDialogs::setNextAnswer(std::nullopt); // Cancel
    findIn<QPushButton>(window_, "print")->click();
    EXPECT_FALSE(QFileInfo::exists(pdf));
    PrintDialogs::setHeadless(false);
}

// A CSV file that cannot be saved is named in the default error box with the system's reason, and
// nothing is left behind.
TEST_F(GroupJournalWindowFiles, ACsvFileThatCannotBeSavedShowsInTheErrorBox) {
    const QString csv = folder_.file(u"missing/journal.csv"_s);
    window_.setSaveChooser(std::make_unique<FixedSaveChooser>(csv));
    MessageBoxes::clearShown();
    findIn<QPushButton>(window_, "saveCsv")->click();
    ASSERT_EQ(MessageBoxes::shown().size(), 1);
    EXPECT_EQ(MessageBoxes::shown()[0].kind, MessageBoxes::Kind::Error);
    EXPECT_EQ(MessageBoxes::shown()[0].text,
              u"Cannot create file \""_s + csv + u"\". No such file or directory."_s);
    EXPECT_FALSE(QFileInfo::exists(folder_.file(u"missing"_s)));
}

// A print that cannot be made (here: a PDF file in a folder that does not exist) is shown in the
// default error box, naming where it was to go.
TEST_F(GroupJournalWindowFiles, APrintThatFailsShowsInTheErrorBox) {
    PrintDialogs::setHeadless(true);
    const QString pdf = folder_.file(u"missing/journal.pdf"_s);
    PrintDialogs::setNextAnswer(pdf);
    MessageBoxes::clearShown();
    findIn<QPushButton>(window_, "print")->click();
    PrintDialogs::setHeadless(false);
    ASSERT_EQ(MessageBoxes::shown().size(), 1);
    EXPECT_EQ(MessageBoxes::shown()[0].kind, MessageBoxes::Kind::Error);
    EXPECT_EQ(MessageBoxes::shown()[0].caption, applicationTitle());
    EXPECT_EQ(MessageBoxes::shown()[0].text, u"Unable to write to "_s + pdf + u"."_s);
}

} // namespace
