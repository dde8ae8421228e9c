// SPDX-License-Identifier: GPL-3.0-or-later
// Taking tests in the main window, through its real handlers: menu items triggered by name,
// answers double-clicked or chosen from the keyboard, message boxes answered by the test seam.

#include "core/program/course_state.h"
#include "core/storage/code_page.h"
#include "core/storage/scrambled_store.h"
#include "gui/kit/message_boxes.h"
#include "gui/screens/test_screen.h"
#include "support/course_driver.h"
#include "support/test_file_builder.h"

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::CourseDriver;
using velmora::test::findIn;
using velmora::test::numberedQuestions;
using velmora::test::stateOf;
using velmora::test::writeTestFile;

namespace {

const QString kUser = QStringLiteral("Айгүл");
// A student who passed tests 1 and 2 and may take test 3.
const QString kAhead = QStringLiteral("Бекзат");
const QList<int> kKey1{2, 4, 1, 5, 3};
const QList<int> kKey2{1, 1, 2, 2, 3};

// Tests 1 and 2 of five questions, the new student kUser as registration leaves them and kAhead;
// the test log is "report.txt".
class TakingTests : public ::testing::Test {
protected:
    TakingTests() {
        writeTestFile(QStringLiteral("test1"), numberedQuestions(kKey1), QStringLiteral("5"));
        writeTestFile(QStringLiteral("test2"), numberedQuestions(kKey2), QStringLiteral("5"));
        course.storeStudent(kUser, QStringLiteral("pw"), {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
        course.storeStudent(kAhead, QStringLiteral("pw"), {5, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
        course.start();
        EXPECT_TRUE(course.boxes().isEmpty());
    }

    void signIn(const QString& name = kUser) const {
        course.signIn(name, QStringLiteral("pw"));
        ASSERT_TRUE(course.session().signedIn);
    }
    QAction* item(const char* name) const { return course.item(name); }
    bool visibleItem(const char* name) const { return course.offered(name); }
    // Whether screen `number` is the only one visible (1 document, 2 progress, 3 test, 6 log).
    bool onlyShown(int number) const { return course.visibleScreens() == std::set<int>{number}; }
    QString stored(int test, const QString& name = kUser) const {
        return course.storedGrade(name, test);
    }
    QStringList logLines() const {
        const QString text = CodePage::decode(course.folder().read(QStringLiteral("report.txt")));
        return text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }
    MainWindow& window() const { return course.window(); }
    const Session& session() const { return course.session(); }

    CourseDriver course;
};

TEST_F(TakingTests, APassStoresGradeLogsShowsProgressAndUnlocksTheNextLecture) {
    signIn();
    EXPECT_FALSE(item("N2")->isEnabled());
    EXPECT_FALSE(item("test2")->isEnabled());
    item("test1")->trigger();
    EXPECT_EQ(session().testName, QStringLiteral("test1"));
    EXPECT_TRUE(onlyShown(3));
    EXPECT_FALSE(visibleItem("N0"));
    EXPECT_FALSE(visibleItem("Ni"));
    EXPECT_EQ(window().findChild<QRadioButton*>(QStringLiteral("RadioButton2"))->text(),
              QStringLiteral("B) 1.2"));

    course.answer(kKey1);
    EXPECT_TRUE(onlyShown(2));
    EXPECT_EQ(session().grades[1], 5);
    EXPECT_EQ(course.gradeShown(1), QStringLiteral("5"));
    EXPECT_EQ(stored(1), QStringLiteral("5"));
    EXPECT_TRUE(item("N2")->isEnabled());
    EXPECT_TRUE(item("test2")->isEnabled());
    EXPECT_FALSE(item("N3")->isEnabled());
    const QStringList log = logLines();
    ASSERT_EQ(log.size(), 1);
    const QStringList fields = log[0].split(QStringLiteral(" | "));
    ASSERT_EQ(fields.size(), 5);
    EXPECT_EQ(fields[0], kUser);
    EXPECT_TRUE(QTime::fromString(fields[1], QStringLiteral("HH:mm:ss")).isValid());
    EXPECT_EQ(fields[2], QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")));
    EXPECT_EQ(fields[3], QStringLiteral("test1"));
    EXPECT_EQ(fields[4], QStringLiteral("5"));
    EXPECT_TRUE(MessageBoxes::shown().isEmpty());

    // The test menus come back only with "<<Назад".
    EXPECT_FALSE(visibleItem("N0"));
    course.leaveProgress();
    EXPECT_TRUE(onlyShown(1));
    EXPECT_TRUE(visibleItem("N0"));
    EXPECT_TRUE(visibleItem("Ni"));
}

TEST_F(TakingTests, SingleClicksDoNotAnswerAndTheKeyboardDoes) {
    signIn(kAhead);
    course.startTest(2);
    QTest::mouseClick(findIn<TestScreen>(window(), "TestScreen")->answerButton(3), Qt::LeftButton,
                      {}, QPoint(8, 8));
    EXPECT_EQ(session().testRun.qnumber(), 1);
    // Question 1 wants A: from C, two steps up and Enter.
    QRadioButton* marked = findIn<TestScreen>(window(), "TestScreen")->answerButton(3);
    QTest::keyClick(marked, Qt::Key_Up);
    QTest::keyClick(findIn<TestScreen>(window(), "TestScreen")->answerButton(2), Qt::Key_Up);
    QTest::keyClick(findIn<TestScreen>(window(), "TestScreen")->answerButton(1), Qt::Key_Return);
    EXPECT_EQ(session().testRun.qnumber(), 2);
    EXPECT_EQ(session().testRun.correct(), 1);
    course.answer({1, 2, 2, 3});       // one wrong
    EXPECT_EQ(session().grades[2], 5); // 4 of 5 is 80 percent
    EXPECT_EQ(stored(2, kAhead), QStringLiteral("5"));
}

TEST_F(TakingTests, ALowerGradeReplacesTheHigherAndLocksNothing) {
    signIn();
    course.startTest(1);
    course.answer(kKey1);
    course.leaveProgress();
    course.startTest(1);
    course.answer({1, 1, 2, 1, 1}); // all wrong
    EXPECT_EQ(session().grades[1], 1);
    EXPECT_EQ(stored(1), QStringLiteral("1"));
    EXPECT_EQ(course.gradeShown(1), QStringLiteral("1"));
    EXPECT_TRUE(item("N2")->isEnabled());
    EXPECT_TRUE(item("test2")->isEnabled());
    EXPECT_EQ(logLines().size(), 2);
}

TEST_F(TakingTests, TwoTestsInOneRunAndTheLogScreenBeforeAndAfter) {
    signIn();
    item("N30")->trigger();
    EXPECT_TRUE(onlyShown(6));
    EXPECT_EQ(findIn<QPlainTextEdit>(window(), "Memo2")->toPlainText(), QStringLiteral("Memo2"));
    ASSERT_EQ(MessageBoxes::shown().size(), 1);
    EXPECT_TRUE(MessageBoxes::shown()[0].text.startsWith(
        QStringLiteral("Cannot open file \"%1\". ")
            .arg(course.folder().file(QStringLiteral("report.txt")))));
    MessageBoxes::clearShown();

    course.startTest(1);
    course.answer(kKey1);
    course.leaveProgress();
    course.startTest(2);
    EXPECT_EQ(session().testRun.correct(), 0);
    course.answer({1, 1, 2, 1, 1}); // three right
    EXPECT_EQ(session().grades[1], 5);
    EXPECT_EQ(session().grades[2], 4);
    EXPECT_EQ(course.gradeShown(2), QStringLiteral("4"));
    EXPECT_TRUE(item("N3")->isEnabled());

    item("N30")->trigger();
    const QStringList memo =
        findIn<QPlainTextEdit>(window(), "Memo2")->toPlainText().split(QLatin1Char('\n'));
    ASSERT_EQ(memo.size(), 2);
    EXPECT_TRUE(memo[0].endsWith(QStringLiteral(" | test1 | 5")));
    EXPECT_TRUE(memo[1].endsWith(QStringLiteral(" | test2 | 4")));
    EXPECT_TRUE(MessageBoxes::shown().isEmpty());
}

TEST_F(TakingTests, ATestThatCannotRunChangesNeitherScreensNorMenus) {
    signIn(kAhead);
    struct Case {
        QString vsego; // empty: no test file at all
        MessageBoxes::Kind kind;
        QString caption;
        QString textStart;
    };
    const Case cases[] = {
        {QString(), MessageBoxes::Kind::Error, applicationTitle(),
         QStringLiteral("Cannot open file \"")},
        {QStringLiteral("0"), MessageBoxes::Kind::Error, QStringLiteral("Error"),
         QStringLiteral("В тесте нет вопросов!")},
        {QStringLiteral("x"), MessageBoxes::Kind::Error, applicationTitle(),
         QStringLiteral("'x' is not a valid integer value.")},
    };
    for (const Case& c : cases) {
        QFile::remove(course.folder().file(QStringLiteral("data/tests/test3.ini")));
        if (!c.vsego.isEmpty()) {
            writeTestFile(QStringLiteral("test3"), numberedQuestions({1}), c.vsego);
        }
        MessageBoxes::clearShown();
        course.startTest(3);
        ASSERT_EQ(MessageBoxes::shown().size(), 1) << c.vsego.toStdString();
        EXPECT_EQ(MessageBoxes::shown()[0].caption, c.caption);
        EXPECT_TRUE(MessageBoxes::shown()[0].text.startsWith(c.textStart))
            << MessageBoxes::shown()[0].text.toStdString();
        EXPECT_TRUE(onlyShown(1));
        EXPECT_TRUE(visibleItem("N0"));
        EXPECT_TRUE(visibleItem("Ni"));
    }
}

TEST_F(TakingTests, LeavingTheTestScreenAbandonsTheTest) {
    signIn();
    course.startTest(1);
    course.answer(kKey1[0]);
    item("n1")->trigger(); // a lecture
    EXPECT_TRUE(onlyShown(1));
    EXPECT_TRUE(visibleItem("N0"));
    EXPECT_TRUE(visibleItem("Ni"));
    course.answer(2); // a late answer scores nothing
    EXPECT_EQ(session().testRun.qnumber(), 2);
    EXPECT_EQ(session().grades[1], 1);
    EXPECT_FALSE(QFile::exists(course.folder().file(QStringLiteral("report.txt"))));

    // The administrator screen's "Назад" leaves it too, and a new test starts from question 1.
    course.startTest(1);
    EXPECT_EQ(session().testRun.qnumber(), 1);
    course.choose("N17");
    EXPECT_TRUE(visibleItem("N0"));
    course.startTest(1);
    course.answer(kKey1);
    EXPECT_EQ(session().grades[1], 5);
}

TEST_F(TakingTests, LeavingTheResultByAnotherCommandOffersTheTestMenusAgain) {
    signIn();
    course.startTest(1);
    course.answer(kKey1);
    EXPECT_FALSE(visibleItem("N0"));
    item("n1")->trigger();
    EXPECT_TRUE(visibleItem("N0"));
    EXPECT_TRUE(visibleItem("Ni"));
}

TEST_F(TakingTests, FailedFileWritesAreShownAndTheTestStillEnds) {
    course.folder().write(QStringLiteral("data/info/tumb.db"),
                          "admin|admin|nowhere/report.txt\r\n");
    course.restart();
    signIn();
    QFile::setPermissions(course.folder().file(QStringLiteral("users.ini")), QFile::ReadOwner);
    course.startTest(1);
    course.answer(kKey1);
    QStringList texts;
    for (const MessageBoxes::Shown& s : MessageBoxes::shown()) {
        texts.append(s.text);
    }
    EXPECT_EQ(texts, (QStringList{QStringLiteral("Invalid filename."),
                                  QStringLiteral("Unable to write to %1.")
                                      .arg(course.folder().file(QStringLiteral("users.ini")))}));
    EXPECT_TRUE(onlyShown(2));
    EXPECT_EQ(session().grades[1], 5);
    EXPECT_EQ(course.gradeShown(1), QStringLiteral("5"));
    EXPECT_TRUE(item("test2")->isEnabled());
    // Further double clicks score nothing.
    course.answer(1);
    EXPECT_EQ(session().testRun.qnumber(), 6);
    EXPECT_EQ(MessageBoxes::shown().size(), 2);
    QFile::setPermissions(course.folder().file(QStringLiteral("users.ini")),
                          QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(stored(1), QStringLiteral("1"));
}

TEST_F(TakingTests, TheAdministratorsTestIsLoggedUnderTheLogin) {
    course.signIn(QStringLiteral("admin"), QStringLiteral("admin"));
    ASSERT_EQ(stateOf(window()).menuState(), MenuState::Administrator);
    course.startTest(2);
    course.answer(kKey2);
    EXPECT_TRUE(logLines().value(0).startsWith(QStringLiteral("admin | ")));
    EXPECT_EQ(
        readini(QStringLiteral("admin"), QStringLiteral("test2"), QStringLiteral("\\users.ini")),
        QStringLiteral("5"));
    EXPECT_TRUE(item("N3")->isEnabled());
}

} // namespace
