// The main window's handlers of taking tests, the progress screen and the test log screen.

#include "core/access/user_register.h"
#include "core/exam/grade_bands.h"
#include "core/exam/test_log.h"
#include "core/storage/integer_text.h"
#include "core/storage/scrambled_store.h"
#include "gui/kit/handler_guard.h"
#include "gui/kit/message_boxes.h"
#include "gui/screens/progress_screen.h"
#include "gui/screens/test_screen.h"
#include "gui/screens/user_list_box.h"
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
    const std::array<void (MainWindow::*)(), TestScreen::kAnswers> answers{
        &MainWindow::RadioButton1DblClick, &MainWindow::RadioButton2DblClick,
        &MainWindow::RadioButton3DblClick, &MainWindow::RadioButton4DblClick,
        &MainWindow::RadioButton5DblClick};
    connect(testContent_, &TestScreen::answered, this,
            [this, answers](int position) { (this->*answers.at(position - 1))(); });

    progressContent_ = new ProgressScreen(progressScreen());
    setScreenContent(2, progressContent_);
    connect(progressContent_, &ProgressScreen::userChosen, this, &MainWindow::ComboBox1Select);
    connect(progressContent_, &ProgressScreen::backClicked, this, &MainWindow::SpeedButton4Click);

    for (int number : {1, 2, 3, 4, 6, 7}) {
        panel(number)->installEventFilter(this);
    }
}

QComboBox* MainWindow::comboBox1() const {
    return progressContent_->userList();
}

// ---- taking a test ----

void MainWindow::test1Click() {
    testClick(QStringLiteral("test1"));
}
void MainWindow::test2Click() {
    testClick(QStringLiteral("test2"));
}
void MainWindow::test3Click() {
    testClick(QStringLiteral("test3"));
}
void MainWindow::test4Click() {
    testClick(QStringLiteral("test4"));
}
void MainWindow::test5Click() {
    testClick(QStringLiteral("test5"));
}

void MainWindow::Button2Click() {
    guarded(this, [&] {
        // A test that cannot run leaves screens and menus as they were.
        const std::optional<Question> first = testrun.start(testname);
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

void MainWindow::RadioButton1DblClick() {
    chooseAnswer(1);
}
void MainWindow::RadioButton2DblClick() {
    chooseAnswer(2);
}
void MainWindow::RadioButton3DblClick() {
    chooseAnswer(3);
}
void MainWindow::RadioButton4DblClick() {
    chooseAnswer(4);
}
void MainWindow::RadioButton5DblClick() {
    chooseAnswer(5);
}

void MainWindow::chooseAnswer(int position) {
    chosenAnswer_ = position;
    RadioButton6DblClick();
}

void MainWindow::RadioButton6DblClick() {
    guarded(this, [&] {
        if (testStage_ != TestStage::Asking) {
            return; // a finished or abandoned test is never scored again
        }
        if (const std::optional<Question> next = testrun.answer(chosenAnswer_)) {
            testContent_->showQuestion(*next);
        } else {
            endTest();
        }
    });
}

void MainWindow::endTest() {
    const TestOutcome outcome = testrun.outcome();
    if (outcome.slot >= 1 && outcome.slot < static_cast<int>(grades.size())) {
        grades[static_cast<size_t>(outcome.slot)] = static_cast<quint8>(outcome.grade);
    }
    // The test ends whatever happens to the two files: each failure is shown and the rest runs.
    guarded(this, [&] {
        TestLog::append(reportfile, TestLog::line(username, QDateTime::currentDateTime(), testname,
                                                  outcome.grade));
    });
    testStage_ = TestStage::None;
    NiClick();
    testStage_ = TestStage::Result;
    for (int n = 1; n <= kTestSlots; ++n) {
        if (GradeBands::passed(grades[static_cast<size_t>(n)])) {
            unlockflag = 1;
            enable(UserRegister::testKey(n), unlockflag);
        }
    }
    guarded(this, [&] { UserRegister::writeGrade(username, outcome.slot, outcome.grade); });
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

void MainWindow::NiClick() {
    guarded(this, [&] {
        showScreen(progressScreen());
        progressContent_->setUserName(username);
        progressContent_->showGrades(std::span(grades).subspan(1));
    });
}

void MainWindow::ComboBox1Select() {
    guarded(this, [&] {
        UserRegister::readGrades(comboBox1()->currentText())
            .takeInOrder(
                [&](int test, quint8 grade) { grades[static_cast<size_t>(test)] = grade; });
        progressContent_->showGrades(std::span(grades).subspan(1));
    });
}

void MainWindow::SpeedButton4Click() {
    guarded(this, [&] {
        showScreen(documentScreen());
        testStage_ = TestStage::None;
        setTestMenusHidden(false);
    });
}

void MainWindow::N30Click() {
    guarded(this, [&] {
        showScreen(memoScreen());
        memo2_->setPlainText(TestLog::read(reportfile).join(QLatin1Char('\n')));
    });
}

} // namespace velmora
