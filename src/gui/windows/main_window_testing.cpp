// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's handlers of taking tests, the progress screen and the test log screen.

#include "core/access/user_register.h"
#include "core/exam/answer_log.h"
#include "core/exam/test_log.h"
#include "core/program/course_state.h"
#include "gui/kit/handler_guard.h"
#include "gui/kit/message_boxes.h"
#include "gui/screens/progress_screen.h"
#include "gui/screens/test_screen.h"
#include "gui/screens/user_list_box.h"
#include "gui/windows/group_journal_window.h"
#include "gui/windows/main_window.h"

#include <QAction>
#include <QDateTime>
#include <QMenuBar>
#include <QPlainTextEdit>

namespace velmora {

void MainWindow::buildTestingScreens() {
    testContent_ = new TestScreen(panel(Screen::Test));
    setScreenContent(Screen::Test, testContent_);
    connect(testContent_, &TestScreen::answered, this, &MainWindow::answer);

    progressContent_ = new ProgressScreen(panel(Screen::Progress));
    setScreenContent(Screen::Progress, progressContent_);
    connect(progressContent_, &ProgressScreen::userChosen, this, &MainWindow::showChosenUserGrades);
    connect(progressContent_, &ProgressScreen::backClicked, this, &MainWindow::leaveProgress);
}

UserListBox* MainWindow::userListBox() const {
    return progressContent_->userList();
}

// ---- taking a test ----

void MainWindow::startTest() {
    guarded(this, [&] {
        // A test that cannot run leaves screens and menus as they were.
        const std::optional<Question> first = state_->startTest();
        if (!first) {
            MessageBoxes::error(this, TestRun::noQuestionsMessage());
            return;
        }
        testContent_->beginTest();
        showScreen(Screen::Test);
        testContent_->showQuestion(*first);
    });
}

void MainWindow::answer(int position) {
    guarded(this, [&] {
        if (state_->testStage() != TestStage::Asking) {
            return; // a finished or abandoned test is never scored again
        }
        const std::optional<Question> next = state_->answer(position);
        logAnswer();
        if (next) {
            testContent_->showQuestion(*next);
        } else {
            endTest();
        }
    });
}

void MainWindow::logAnswer() const {
    const Session& session = state_->session();
    if (const std::optional<AnsweredQuestion>& answered = session.testRun.lastAnswered()) {
        // A lost answer line is not the student's concern: nothing is shown, the test goes on.
        (void)AnswerLog::append(session.admin.reportFile,
                                AnswerLog::of(session.userName, QDateTime::currentDateTime(),
                                              session.testRun.testname(), *answered));
    }
}

void MainWindow::endTest() {
    const TestOutcome outcome = state_->passTest();
    const Session& session = state_->session();
    // The test ends whatever happens to the two files: each failure is shown and the rest runs.
    guarded(this, [&] {
        TestLog::append(session.admin.reportFile,
                        TestLog::line(session.userName, QDateTime::currentDateTime(),
                                      session.testName, outcome.grade));
    });
    showProgress();
    guarded(this, [&] { UserRegister::writeGrade(session.userName, outcome.slot, outcome.grade); });
}

// ---- progress and test log screens ----

void MainWindow::showProgress() {
    guarded(this, [&] {
        showScreen(Screen::Progress);
        progressContent_->setUserName(state_->session().userName);
        progressContent_->showGrades(state_->session().testGrades());
    });
}

void MainWindow::showChosenUserGrades() {
    guarded(this, [&] {
        state_->showGradesOf(userListBox()->currentText());
        progressContent_->showGrades(state_->session().testGrades());
    });
}

void MainWindow::leaveProgress() {
    guarded(this, [&] {
        showScreen(Screen::Document);
        state_->leaveTest();
    });
}

void MainWindow::showTestLog() {
    guarded(this, [&] {
        showScreen(Screen::TestLog);
        testLogView_->setPlainText(
            TestLog::read(state_->session().admin.reportFile).join(QLatin1Char('\n')));
    });
}

// ---- the group journal ----

void MainWindow::openGroupJournal() {
    guarded(this, [&] {
        if (journalWindow_ == nullptr) {
            journalWindow_ = new GroupJournalWindow(this);
        }
        journalWindow_->reload(state_->session().admin.reportFile);
        journalWindow_->show();
        journalWindow_->raise();
        journalWindow_->activateWindow();
    });
}

} // namespace velmora
