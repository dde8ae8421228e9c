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

#include <QAccessible>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
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

// What a screen reader is told of one widget: each name-changed event, with the name read then.
class NameAnnouncements {
public:
    explicit NameAnnouncements(const QObject* watched) {
        watched_ = watched;
        heard_ = &heard;
        QAccessible::installUpdateHandler(&NameAnnouncements::record);
    }
    ~NameAnnouncements() {
        QAccessible::installUpdateHandler(nullptr);
        watched_ = nullptr;
        heard_ = nullptr;
    }
    NameAnnouncements(const NameAnnouncements&) = delete;
    NameAnnouncements& operator=(const NameAnnouncements&) = delete;

    QStringList heard;

private:
    static void record(QAccessibleEvent* event) {
        if (event->type() == QAccessible::NameChanged && event->object() == watched_ &&
            heard_ != nullptr) {
            heard_->append(accessibleText(*qobject_cast<const QWidget*>(watched_)));
        }
    }
    static inline const QObject* watched_ = nullptr;
    static inline QStringList* heard_ = nullptr;
};

// A timed test's time left is read as the text shown and announced when it changes, once for
// each new figure: the clock ticks several times a second, the figure once a second.
// Run on the accessibility bus (tests/CMakeLists.txt): Qt sends no accessible events while no
// screen reader listens.
TEST(AccessibleEvents, TheTimeLeftIsReadAndAnnouncedOnceForEachNewFigure) {
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS") ||
        qgetenv("QT_QPA_PLATFORM") != "xcb") {
        GTEST_SKIP() << "needs the accessibility bus: run it through "
                        "tests/support/on-accessibility-bus";
    }
    CourseDriver course;
    course.folder().write(QStringLiteral("help.htm"), "<p>help</p>");
    course.folder().write(QStringLiteral("course.toml"),
                          "[course]\nid = \"lab\"\ncaption = \"Курс\"\nhelp = \"help.htm\"\n"
                          "[[menu]]\nname = \"N0\"\ncaption = \"Тесты\"\n"
                          "[[menu.item]]\ntest = 1\nminutes = 5\n");
    writeTestFile(QStringLiteral("test1"), numberedQuestions({1, 2, 3}), QStringLiteral("3"));
    course.storeStudent(QStringLiteral("Айгүл"), QStringLiteral("pw"), {1});
    const MainWindow& window = course.start();
    ASSERT_TRUE(course.boxes().isEmpty()) << course.boxTexts().join(u'|').toStdString();
    course.signIn(QStringLiteral("Айгүл"), QStringLiteral("pw"));
    course.startTest(1);
    const auto& left = *findIn<QLabel>(window, "timeLeft");
    expectReadAsShown(left);

    NameAnnouncements announced(&left);
    // Qt's bridge joins the bus a moment after start-up.
    ASSERT_TRUE(QTest::qWaitFor([] { return QAccessible::isActive(); }, 20'000))
        << "no accessibility bus: run through tests/support/on-accessibility-bus";
    const QString first = left.text();
    ASSERT_TRUE(QTest::qWaitFor([&] { return announced.heard.size() >= 2; }, 5000))
        << announced.heard.join(u'|').toStdString();
    expectReadAsShown(left);
    EXPECT_NE(left.text(), first);
    EXPECT_TRUE(announced.heard.contains(left.text())) << announced.heard.join(u'|').toStdString();
    for (qsizetype i = 1; i < announced.heard.size(); ++i) {
        EXPECT_NE(announced.heard.at(i), announced.heard.at(i - 1))
            << "announced again unchanged: " << announced.heard.join(u'|').toStdString();
    }
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
