// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's handlers of taking tests, the progress screen and the test log screen.

#include "core/access/user_register.h"
#include "core/exam/answer_log.h"
#include "core/exam/attempt_file.h"
#include "core/exam/attempt_review.h"
#include "core/exam/test_log.h"
#include "core/program/course_state.h"
#include "core/results/results_recorder.h"
#include "core/storage/failure.h"
#include "gui/kit/handler_guard.h"
#include "gui/kit/message_boxes.h"
#include "gui/screens/progress_screen.h"
#include "gui/screens/test_screen.h"
#include "gui/screens/user_list_box.h"
#include "gui/windows/group_journal_window.h"
#include "gui/windows/main_window.h"
#include "gui/windows/review_window.h"

#include <QAction>
#include <QDateTime>
#include <QFileInfo>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTimer>

namespace velmora {
namespace {

// How often the time left is shown anew.
constexpr int kClockTickMs = 250;

} // namespace

void MainWindow::buildTestingScreens() {
    testContent_ = new TestScreen(panel(Screen::Test));
    setScreenContent(Screen::Test, testContent_);
    connect(testContent_, &TestScreen::answered, this, &MainWindow::answer);
    clock_ = new QTimer(this);
    clock_->setObjectName(QStringLiteral("testClock"));
    clock_->setInterval(kClockTickMs);
    connect(clock_, &QTimer::timeout, this, &MainWindow::tickClock);

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
        // An attempt left unfinished (its screen left for another) is never replaced by a fresh
        // draw: it is offered as at sign-in.
        if (QFileInfo::exists(AttemptFile::path(state_->session().userName))) {
            offerUnfinishedAttempt();
            return;
        }
        // A test that cannot run leaves screens and menus as they were.
        const std::optional<Question> first = state_->startTest();
        if (!first) {
            MessageBoxes::error(this, TestRun::noQuestionsMessage());
            return;
        }
        saveAttempt();
        showTestScreen(*first, 0);
    });
}

void MainWindow::showTestScreen(const Question& question, qint64 spentMs) {
    testBegan_ = QDateTime::currentDateTimeUtc().addMSecs(-spentMs);
    testContent_->beginTest();
    showScreen(Screen::Test);
    showQuestion(question);
    const int minutes = state_->chosenTestSettings().minutes;
    if (minutes <= 0) {
        stopClock();
        testContent_->hideTimeLeft();
        return;
    }
    limit_.emplace(minutes, spentMs);
    warned_ = false;
    running_.start();
    clock_->start();
    tickClock();
}

void MainWindow::showQuestion(const Question& question) {
    testContent_->showQuestion(question);
    const TestRun& run = state_->session().testRun;
    testContent_->setQuestionNumber(run.qnumber(), run.total());
}

void MainWindow::stopClock() {
    clock_->stop();
    limit_.reset();
}

void MainWindow::tickClock() {
    guarded(this, [&] {
        if (!limit_ || state_->testStage() != TestStage::Asking) {
            stopClock(); // the test ended or was left
            return;
        }
        const qint64 left = limit_->leftMs(running_.elapsed());
        testContent_->showTimeLeft(TimeLimit::text(left));
        if (left == 0) {
            stopClock();
            state_->endTestNow();
            endTest();
            return;
        }
        if (left <= TimeLimit::kWarningMs && !warned_) {
            warned_ = true; // before the box: ticks go on while it is open
            MessageBoxes::warning(this, QStringLiteral("До конца теста осталась одна минута."));
        }
    });
}

void MainWindow::saveAttempt() const {
    if (const std::optional<Attempt> attempt = state_->attempt()) {
        try {
            AttemptFile::save(*attempt);
        } catch (const std::exception&) {
            // A course folder that cannot be written keeps no attempt; the test goes on as it
            // would without one.
        }
    }
}

void MainWindow::offerUnfinishedAttempt() {
    const QString name = state_->session().userName;
    std::optional<Attempt> attempt;
    try {
        attempt = AttemptFile::load(name);
    } catch (const Failure& failure) {
        const QString aside = AttemptFile::setAside(name);
        MessageBoxes::warning(
            this, QStringLiteral("Незавершённый тест не прочитан и отложен в сторону: %1\n%2")
                      .arg(failure.message(), aside));
        return;
    }
    if (!attempt) {
        return;
    }
    const int number = TestRun::slotOf(attempt->testname);
    if (AttemptFile::testFingerprint(attempt->testname) != attempt->testFile) {
        MessageBoxes::information(
            this, QStringLiteral("Тест №%1 изменён после начала незавершённой попытки: она "
                                 "завершена с данными ответами.")
                      .arg(number));
        state_->closeAttempt(*attempt);
        endTest();
        return;
    }
    const bool goOn = MessageBoxes::questionYesNo(
                          this, QStringLiteral("Продолжить незавершённый тест №%1?").arg(number)) ==
                      MessageBoxes::Answer::Ok;
    const std::optional<Question> next = state_->resumeTest(*attempt);
    if (!goOn || !next) {
        state_->endTestNow();
        endTest();
        return;
    }
    showTestScreen(*next, TimeLimit::spentSince(attempt->started, QDateTime::currentDateTimeUtc()));
}

void MainWindow::answer(int position) {
    guarded(this, [&] {
        if (state_->testStage() != TestStage::Asking) {
            return; // a finished or abandoned test is never scored again
        }
        const std::optional<Question> next = state_->answer(position);
        // The attempt first: an answer it holds is never asked again, so a kill between the two
        // may lose an answer line but never writes one twice.
        saveAttempt();
        logAnswer();
        if (next) {
            showQuestion(*next);
        } else {
            endTest();
        }
    });
}

void MainWindow::logAnswer() const {
    const Session& session = state_->session();
    if (const std::optional<AnsweredQuestion>& answered = session.testRun.lastAnswered()) {
        // A lost answer line is not the student's concern: nothing is shown, the test goes on.
        const AnswerLog::Answer answer = AnswerLog::of(
            session.userName, QDateTime::currentDateTime(), session.testRun.testname(), *answered);
        (void)AnswerLog::append(session.admin.reportFile, answer);
        (void)ResultsRecorder::answered({answer.username, answer.testname, answer.question,
                                         AnswerLog::fingerprint(answer.questionText), answer.chosen,
                                         answer.correct, answer.seed});
    }
}

void MainWindow::endTest() {
    stopClock();
    finished_ = state_->attempt();
    const TestOutcome outcome = state_->passTest();
    const Session& session = state_->session();
    // The test ends whatever happens to the two files: each failure is shown and the rest runs.
    guarded(this, [&] {
        TestLog::append(session.admin.reportFile,
                        TestLog::line(session.userName, QDateTime::currentDateTime(),
                                      session.testName, outcome.grade));
    });
    // Beside the test log line and before the grade is shown: a result the student has seen is
    // always on its way to the school's record store.
    guarded(this, [&] {
        ResultsRecorder::completed(
            {session.userName, session.testName, outcome.grade, state_->course().passGrade,
             testBegan_.msecsTo(QDateTime::currentDateTimeUtc()),
             finished_ ? finished_->plan.seed : 0, state_->chosenTestSettings().draw});
    });
    showProgress();
    guarded(this, [&] { UserRegister::writeGrade(session.userName, outcome.slot, outcome.grade); });
    // Removed once the grade is stored: a kill before this leaves the attempt to be ended again,
    // never a lost grade.
    guarded(this, [&] { AttemptFile::remove(session.userName); });
    if (state_->chosenTestSettings().review == TestSettings::Review::After) {
        showReview();
    }
}

void MainWindow::showReview() {
    if (!finished_) {
        return; // an attempt ended without its test file has nothing to show
    }
    guarded(this, [&] {
        const QString review = AttemptReview::text(*finished_);
        if (reviewWindow_ == nullptr) {
            reviewWindow_ = new ReviewWindow(this);
        }
        reviewWindow_->showReview(review);
    });
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
