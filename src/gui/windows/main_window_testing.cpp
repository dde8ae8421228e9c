// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's handlers of taking tests, the progress screen and the test log screen.

#include "core/access/user_register.h"
#include "core/exam/answer_log.h"
#include "core/exam/test_log.h"
#include "gui/kit/handler_guard.h"
#include "gui/kit/message_boxes.h"
#include "gui/screens/progress_screen.h"
#include "gui/screens/test_screen.h"
#include "gui/screens/user_list_box.h"
#include "gui/windows/group_journal_window.h"
#include "gui/windows/main_window.h"

#include <QAction>
#include <QDateTime>
#include <QEvent>
#include <QMenuBar>
#include <QPlainTextEdit>

namespace velmora {

void MainWindow::buildTestingScreens() {
    testContent_ = new TestScreen(testScreen());
    setScreenContent(3, testContent_);
    connect(testContent_, &TestScreen::answered, this, &MainWindow::answer);

    progressContent_ = new ProgressScreen(progressScreen());
    setScreenContent(2, progressContent_);
    connect(progressContent_, &ProgressScreen::userChosen, this, &MainWindow::showChosenUserGrades);
    connect(progressContent_, &ProgressScreen::backClicked, this, &MainWindow::leaveProgress);

    for (int number : {1, 2, 3, 4, 6, 7}) {
        panel(number)->installEventFilter(this);
    }
}

UserListBox* MainWindow::userListBox() const {
    return progressContent_->userList();
}

// ---- taking a test ----

void MainWindow::startTest() {
    guarded(this, [&] {
        // A test that cannot run leaves screens and menus as they were.
        const std::optional<Question> first = session_.testRun.start(session_.testName);
        if (!first) {
            MessageBoxes::error(this, TestRun::noQuestionsMessage());
            return;
        }
        testContent_->beginTest();
        showScreen(testScreen());
        setTestMenusHidden(true);
        testContent_->showQuestion(*first);
        testStage_ = TestStage::Asking;
    });
}

void MainWindow::answer(int position) {
    guarded(this, [&] {
        if (testStage_ != TestStage::Asking) {
            return; // a finished or abandoned test is never scored again
        }
        const std::optional<Question> next = session_.testRun.answer(position);
        logAnswer();
        if (next) {
            testContent_->showQuestion(*next);
        } else {
            endTest();
        }
    });
}

void MainWindow::logAnswer() const {
    if (const std::optional<AnsweredQuestion>& answered = session_.testRun.lastAnswered()) {
        // A lost answer line is not the student's concern: nothing is shown, the test goes on.
        (void)AnswerLog::append(session_.admin.reportFile,
                                AnswerLog::of(session_.userName, QDateTime::currentDateTime(),
                                              session_.testRun.testname(), *answered));
    }
}

void MainWindow::endTest() {
    const TestOutcome outcome = session_.testRun.outcome();
    session_.recordGrade(outcome);
    // The test ends whatever happens to the two files: each failure is shown and the rest runs.
    guarded(this, [&] {
        TestLog::append(session_.admin.reportFile,
                        TestLog::line(session_.userName, QDateTime::currentDateTime(),
                                      session_.testName, outcome.grade));
    });
    testStage_ = TestStage::None;
    showProgress();
    testStage_ = TestStage::Result;
    for (const QString& testKey : session_.passedTests()) {
        setUnlocked(testKey, true);
    }
    guarded(this,
            [&] { UserRegister::writeGrade(session_.userName, outcome.slot, outcome.grade); });
}

bool MainWindow::inFront(const QFrame* screen) const {
    // Front to back: sign-in, administrator, memo, document, test, progress.
    for (int number : {4, 7, 6, 1, 3, 2}) {
        if (!panel(number)->isHidden()) {
            return panel(number) == screen;
        }
    }
    return false;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    const bool screenChange = event->type() == QEvent::Show || event->type() == QEvent::Hide;
    if (screenChange && testStage_ != TestStage::None) {
        const QFrame* stageScreen =
            testStage_ == TestStage::Asking ? testScreen() : progressScreen();
        if (!inFront(stageScreen)) {
            leaveTestStage();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::leaveTestStage() {
    testStage_ = TestStage::None;
    setTestMenusHidden(false);
}

// ---- progress and test log screens ----

void MainWindow::showProgress() {
    guarded(this, [&] {
        showScreen(progressScreen());
        progressContent_->setUserName(session_.userName);
        progressContent_->showGrades(session_.testGrades());
    });
}

void MainWindow::showChosenUserGrades() {
    guarded(this, [&] {
        UserRegister::readGrades(userListBox()->currentText())
            .takeInOrder([&](int test, quint8 grade) { session_.setGrade(test, grade); });
        progressContent_->showGrades(session_.testGrades());
    });
}

void MainWindow::leaveProgress() {
    guarded(this, [&] {
        showScreen(documentScreen());
        testStage_ = TestStage::None;
        setTestMenusHidden(false);
    });
}

void MainWindow::showTestLog() {
    guarded(this, [&] {
        showScreen(memoScreen());
        testLogView_->setPlainText(
            TestLog::read(session_.admin.reportFile).join(QLatin1Char('\n')));
    });
}

// ---- the group journal ----

void MainWindow::openGroupJournal() {
    guarded(this, [&] {
        if (journalWindow_ == nullptr) {
            journalWindow_ = new GroupJournalWindow(this);
        }
        journalWindow_->reload(session_.admin.reportFile);
        journalWindow_->show();
        journalWindow_->raise();
        journalWindow_->activateWindow();
    });
}

} // namespace velmora
