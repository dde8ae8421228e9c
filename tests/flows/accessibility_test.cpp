// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader finds: every control that takes the keyboard focus has a name, on every
// screen of the main window in every state and in every other window; the figures that change
// are read as the text shown.

#include "gui/documents/document_screen.h"
#include "gui/documents/find_bar.h"
#include "gui/screens/progress_screen.h"
#include "gui/screens/test_screen.h"
#include "support/accessibility_check.h"
#include "support/course_driver.h"
#include "support/every_state.h"
#include "support/test_file_builder.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QWidget>
#include <gtest/gtest.h>

namespace velmora::test {
namespace {

void expectAllNamed(const QWidget& root, const char* where) {
    const QStringList unnamed = focusableWithoutName(&root);
    EXPECT_TRUE(unnamed.isEmpty()) << where << ": focusable without an accessible name:\n  "
                                   << unnamed.join(QStringLiteral("\n  ")).toStdString();
}

TEST(AccessibleNames, OnEveryScreenOfTheMainWindowInEveryState) {
    CourseDriver course;
    walkEveryState(course, expectAllNamed);
}

TEST(AccessibleNames, InTheOtherWindows) {
    walkOtherWindows(expectAllNamed);
}

// A label whose accessible name is the text it shows is read as that text, and Qt announces each
// new text to the screen reader (a name-changed event); a fixed name would hide both.
void expectReadAsShown(const QLabel& label) {
    EXPECT_EQ(accessibleText(label), label.text()) << label.objectName().toStdString();
}

TEST(AccessibleFigures, AreReadAsTheTextShown) {
    CourseDriver course;
    course.storeStudent(QStringLiteral("Айгүл"), QStringLiteral("pw"),
                        {5, 4, 3, 2, 1, 0, 0, 0, 0, 0});
    const MainWindow& window = course.start();
    course.signIn(QStringLiteral("Айгүл"), QStringLiteral("pw"));
    findIn<DocumentScreen>(window, "documentScreen")->openFindBar(QStringLiteral("жүйе"));
    findIn<FindBar>(window, "findBar")->showCount(2, 7);
    expectReadAsShown(*findIn<QLabel>(window, "findCount"));
    EXPECT_EQ(accessibleText(*findIn<QLabel>(window, "findCount")), QStringLiteral("2 из 7"));

    course.choose("Ni");
    auto& progress = *findIn<ProgressScreen>(window, "ProgressScreen");
    progress.setUserName(QStringLiteral("Айгүл"));
    EXPECT_EQ(accessibleText(*findIn<QLabel>(progress, "Label5")), QStringLiteral("Айгүл"));
    for (const char* grade : {"Label18", "Label19", "Label20"}) {
        expectReadAsShown(*findIn<QLabel>(progress, grade));
    }
}

// The question's place in the test is read with the question, and changes as the test goes on.
TEST(AccessibleFigures, TheQuestionIsReadWithItsPlaceInTheTest) {
    CourseDriver course;
    writeTestFile(QStringLiteral("test1"), numberedQuestions({1, 2, 3}), QStringLiteral("3"));
    course.storeStudent(QStringLiteral("Айгүл"), QStringLiteral("pw"), {1});
    const MainWindow& window = course.start();
    course.signIn(QStringLiteral("Айгүл"), QStringLiteral("pw"));
    course.startTest(1);
    const auto& question = *findIn<QPlainTextEdit>(window, "Memo1");
    EXPECT_TRUE(accessibleText(question).startsWith(QStringLiteral("Вопрос 1 из 3 ")))
        << accessibleText(question).toStdString();
    course.answer(1);
    EXPECT_TRUE(accessibleText(question).startsWith(QStringLiteral("Вопрос 2 из 3 ")))
        << accessibleText(question).toStdString();
}

TEST(AccessibleFigures, AnswersAreReadAsTheirTextAnEmptyOneByItsLetter) {
    TestScreen screen;
    Question question;
    question.text = QStringLiteral("Сұрақ?");
    question.answers = {QStringLiteral("A) Бірінші"), QStringLiteral("B) Екінші"), QString(),
                        QStringLiteral("D) Төртінші"), QString()};
    screen.showQuestion(question);
    const auto answer = [&screen](const char* name) {
        return accessibleText(*findIn<QRadioButton>(screen, name));
    };
    EXPECT_EQ(answer("RadioButton1"), QStringLiteral("A) Бірінші"));
    EXPECT_EQ(answer("RadioButton3"), QStringLiteral("Ответ C"));
    EXPECT_EQ(answer("RadioButton5"), QStringLiteral("Ответ E"));
}

} // namespace
} // namespace velmora::test
