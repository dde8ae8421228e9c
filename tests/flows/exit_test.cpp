// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/program/course_state.h"
#include "shell_fixture.h"

#include <QApplication>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <functional>

namespace velmora::test {
namespace {

const QString exitQuestion = QStringLiteral("Вы действительно хотите выйти из программы?");

struct ExitWay {
    const char* name;
    std::function<void(const CourseDriver&, MessageBoxes::Answer)> ask;
};

const ExitWay exitWays[] = {
    {"Шығу", [](const CourseDriver& c, MessageBoxes::Answer a) { c.exitProgram(a); }},
    {"close box", [](const CourseDriver& c, MessageBoxes::Answer a) { c.closeWindow(a); }},
};

TEST_F(ShellTest, OkInTheExitQuestionClosesTheWindow) {
    for (const ExitWay& way : exitWays) {
        MessageBoxes::clearShown();
        window->show();
        QSignalSpy closed(window.get(), &MainWindow::closed);
        way.ask(course, MessageBoxes::Answer::Ok);
        ASSERT_EQ(MessageBoxes::shown().size(), 1) << way.name;
        EXPECT_EQ(MessageBoxes::shown().at(0).kind, MessageBoxes::Kind::Warning);
        EXPECT_EQ(MessageBoxes::shown().at(0).caption, QStringLiteral("Warning"));
        EXPECT_EQ(MessageBoxes::shown().at(0).text, exitQuestion);
        EXPECT_FALSE(window->isVisible()) << way.name;
        EXPECT_EQ(closed.count(), 1) << way.name;
    }
}

TEST_F(ShellTest, CancelInTheExitQuestionChangesNothing) {
    course.registerStudent(QStringLiteral("Ivan"), QStringLiteral("pw"));
    course.signIn(QStringLiteral("Ivan"), QStringLiteral("pw"));
    for (const ExitWay& way : exitWays) {
        setVisibleScreens({6});
        QSignalSpy closed(window.get(), &MainWindow::closed);
        way.ask(course, MessageBoxes::Answer::Cancel);
        EXPECT_TRUE(window->isVisible()) << way.name;
        EXPECT_EQ(closed.count(), 0) << way.name;
        EXPECT_EQ(visibleScreens(), std::set<int>{6}) << way.name;
        EXPECT_EQ(stateOf(*window).menuState(), MenuState::Student);
        EXPECT_TRUE(findIn<QAction>(*window, QStringLiteral("N0"))->isVisible());
    }
}

// With the real message box: the given way of dismissing it keeps the program running.
void dismissRealQuestion(const CourseDriver& course,
                         const std::function<void(QMessageBox&)>& dismiss, QString* seenText) {
    MessageBoxes::setHeadless(false);
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        *seenText = box->text();
        dismiss(*box);
    });
    course.choose("Ne");
    MessageBoxes::setHeadless(true);
}

TEST_F(ShellTest, EscAndTheBoxCloseBoxAnswerCancel) {
    const std::pair<const char*, std::function<void(QMessageBox&)>> ways[] = {
        {"Esc", [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); }},
        {"close box", [](QMessageBox& box) { box.close(); }},
    };
    for (const auto& [name, dismiss] : ways) {
        QSignalSpy closed(window.get(), &MainWindow::closed);
        QString seen;
        dismissRealQuestion(course, dismiss, &seen);
        EXPECT_EQ(seen, exitQuestion) << name;
        EXPECT_TRUE(window->isVisible()) << name;
        EXPECT_EQ(closed.count(), 0) << name;
    }
}

TEST_F(ShellTest, EnterInTheRealQuestionAnswersOk) {
    QSignalSpy closed(window.get(), &MainWindow::closed);
    QString seen;
    dismissRealQuestion(
        course, [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); }, &seen);
    EXPECT_EQ(seen, exitQuestion);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(closed.count(), 1);
}

} // namespace
} // namespace velmora::test
