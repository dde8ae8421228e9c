// Taking tests in the main window, through its real handlers: menu items triggered by name,
// answers double-clicked or chosen from the keyboard, message boxes answered by the test seam.

#include "core/storage/code_page.h"
#include "core/storage/scrambled_store.h"
#include "gui/documents/text_document_view.h"
#include "gui/kit/message_boxes.h"
#include "gui/screens/progress_screen.h"
#include "gui/screens/test_screen.h"
#include "gui/windows/main_window.h"
#include "support/temp_folder.h"
#include "support/test_file_builder.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::numberedQuestions;
using velmora::test::TempFolder;
using velmora::test::writeTestFile;

namespace {

const QString kUser = QStringLiteral("Айгүл");
const QList<int> kKey1{2, 4, 1, 5, 3};
const QList<int> kKey2{1, 1, 2, 2, 3};

class TakingTests : public ::testing::Test {
protected:
    TakingTests()
        : interval_(QApplication::doubleClickInterval()),
          window_([](QWidget* parent) { return new TextDocumentView(parent); }) {
        QApplication::setDoubleClickInterval(0);
        MessageBoxes::clearShown();
        writeTestFile(QStringLiteral("test1"), numberedQuestions(kKey1), QStringLiteral("5"));
        writeTestFile(QStringLiteral("test2"), numberedQuestions(kKey2), QStringLiteral("5"));
        for (int n = 1; n <= 12; ++n) {
            writeini(kUser, QStringLiteral("test%1").arg(n),
                     n == 1 ? QStringLiteral("1") : QStringLiteral("0"),
                     QStringLiteral("\\users.ini"));
        }
        // Start-up reads the name list and the administrator settings.
        folder_.write(QStringLiteral("users"), QByteArray());
        folder_.write(QStringLiteral("data/info/tumb.db"), "admin|admin|report.txt\r\n");
        window_.show();
        EXPECT_TRUE(MessageBoxes::shown().isEmpty());
        window_.reportfile = QStringLiteral("report.txt");
        signIn();
    }
    ~TakingTests() override { QApplication::setDoubleClickInterval(interval_); }

    // What a student's sign-in leaves behind: the grades of a new registration and the locks.
    void signIn() {
        window_.username = kUser;
        window_.signedin = 1;
        window_.grades = {0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
        for (int n = 1; n <= 9; ++n) {
            if (window_.grades[static_cast<size_t>(n)] < 3) {
                window_.enable(QStringLiteral("test%1").arg(n), 0);
            }
        }
        window_.setMenuState(MenuState::Student);
        window_.showScreen(window_.documentScreen());
    }

    QAction* item(const char* name) {
        QAction* action = window_.menuItem(QLatin1String(name));
        if (action == nullptr) {
            throw std::runtime_error(std::string("no menu item ") + name);
        }
        return action;
    }
    bool visibleItem(const char* name) { return item(name)->isVisible(); }
    bool onlyShown(const QFrame* screen) {
        for (int n : {1, 2, 3, 4, 6, 7}) {
            if (window_.panel(n)->isHidden() == (window_.panel(n) == screen)) {
                return false;
            }
        }
        return true;
    }
    void doubleClick(int position) {
        QTest::mouseDClick(window_.testContent()->answerButton(position), Qt::LeftButton, {},
                           QPoint(8, 8));
    }
    // Double-clicks the answers of `positions` in turn.
    void answer(const QList<int>& positions) {
        for (int p : positions) {
            doubleClick(p);
        }
    }
    QString gradeLabel(int test) {
        return window_.progressContent()
            ->findChild<QLabel*>(QStringLiteral("Label%1").arg(17 + test))
            ->text();
    }
    QString stored(int test) {
        return readini(kUser, QStringLiteral("test%1").arg(test), QStringLiteral("\\users.ini"));
    }
    QStringList logLines() {
        const QString text = CodePage::decode(folder_.read(QStringLiteral("report.txt")));
        return text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }

    TempFolder folder_;
    int interval_;
    MainWindow window_;
};

TEST_F(TakingTests, APassStoresGradeLogsShowsProgressAndUnlocksTheNextLecture) {
    EXPECT_FALSE(item("N2")->isEnabled());
    EXPECT_FALSE(item("test2")->isEnabled());
    item("test1")->trigger();
    EXPECT_EQ(window_.testname, QStringLiteral("test1"));
    EXPECT_TRUE(onlyShown(window_.testScreen()));
    EXPECT_FALSE(visibleItem("N0"));
    EXPECT_FALSE(visibleItem("Ni"));
    EXPECT_EQ(window_.findChild<QRadioButton*>(QStringLiteral("RadioButton2"))->text(),
              QStringLiteral("B) 1.2"));

    answer(kKey1);
    EXPECT_TRUE(onlyShown(window_.progressScreen()));
    EXPECT_EQ(window_.grades[1], 5);
    EXPECT_EQ(gradeLabel(1), QStringLiteral("5"));
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
    window_.findChild<QAbstractButton*>(QStringLiteral("SpeedButton4"))->click();
    EXPECT_TRUE(onlyShown(window_.documentScreen()));
    EXPECT_TRUE(visibleItem("N0"));
    EXPECT_TRUE(visibleItem("Ni"));
}

TEST_F(TakingTests, SingleClicksDoNotAnswerAndTheKeyboardDoes) {
    window_.test2Click();
    QTest::mouseClick(window_.testContent()->answerButton(3), Qt::LeftButton, {}, QPoint(8, 8));
    EXPECT_EQ(window_.testrun.qnumber(), 1);
    // Question 1 wants A: from C, two steps up and Enter.
    QRadioButton* marked = window_.testContent()->answerButton(3);
    QTest::keyClick(marked, Qt::Key_Up);
    QTest::keyClick(window_.testContent()->answerButton(2), Qt::Key_Up);
    QTest::keyClick(window_.testContent()->answerButton(1), Qt::Key_Return);
    EXPECT_EQ(window_.testrun.qnumber(), 2);
    EXPECT_EQ(window_.testrun.correct(), 1);
    answer({1, 2, 2, 3});            // one wrong
    EXPECT_EQ(window_.grades[2], 5); // 4 of 5 is 80 percent
    EXPECT_EQ(stored(2), QStringLiteral("5"));
}

TEST_F(TakingTests, ALowerGradeReplacesTheHigherAndLocksNothing) {
    window_.test1Click();
    answer(kKey1);
    window_.SpeedButton4Click();
    window_.test1Click();
    answer({1, 1, 2, 1, 1}); // all wrong
    EXPECT_EQ(window_.grades[1], 1);
    EXPECT_EQ(stored(1), QStringLiteral("1"));
    EXPECT_EQ(gradeLabel(1), QStringLiteral("1"));
    EXPECT_TRUE(item("N2")->isEnabled());
    EXPECT_TRUE(item("test2")->isEnabled());
    EXPECT_EQ(logLines().size(), 2);
}

TEST_F(TakingTests, TwoTestsInOneRunAndTheLogScreenBeforeAndAfter) {
    item("N30")->trigger();
    EXPECT_TRUE(onlyShown(window_.memoScreen()));
    EXPECT_EQ(window_.memo2()->toPlainText(), QStringLiteral("Memo2"));
    ASSERT_EQ(MessageBoxes::shown().size(), 1);
    EXPECT_TRUE(MessageBoxes::shown()[0].text.startsWith(
        QStringLiteral("Cannot open file \"%1\". ")
            .arg(folder_.file(QStringLiteral("report.txt")))));
    MessageBoxes::clearShown();

    window_.test1Click();
    answer(kKey1);
    window_.SpeedButton4Click();
    window_.test2Click();
    EXPECT_EQ(window_.testrun.correct(), 0);
    answer({1, 1, 2, 1, 1}); // three right
    EXPECT_EQ(window_.grades[1], 5);
    EXPECT_EQ(window_.grades[2], 4);
    EXPECT_EQ(gradeLabel(2), QStringLiteral("4"));
    EXPECT_TRUE(item("N3")->isEnabled());

    item("N30")->trigger();
    const QStringList memo = window_.memo2()->toPlainText().split(QLatin1Char('\n'));
    ASSERT_EQ(memo.size(), 2);
    EXPECT_TRUE(memo[0].endsWith(QStringLiteral(" | test1 | 5")));
    EXPECT_TRUE(memo[1].endsWith(QStringLiteral(" | test2 | 4")));
    EXPECT_TRUE(MessageBoxes::shown().isEmpty());
}

TEST_F(TakingTests, ATestThatCannotRunChangesNeitherScreensNorMenus) {
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
        QFile::remove(folder_.file(QStringLiteral("data/tests/test3.ini")));
        if (!c.vsego.isEmpty()) {
            writeTestFile(QStringLiteral("test3"), numberedQuestions({1}), c.vsego);
        }
        MessageBoxes::clearShown();
        window_.test3Click();
        ASSERT_EQ(MessageBoxes::shown().size(), 1) << c.vsego.toStdString();
        EXPECT_EQ(MessageBoxes::shown()[0].caption, c.caption);
        EXPECT_TRUE(MessageBoxes::shown()[0].text.startsWith(c.textStart))
            << MessageBoxes::shown()[0].text.toStdString();
        EXPECT_TRUE(onlyShown(window_.documentScreen()));
        EXPECT_TRUE(visibleItem("N0"));
        EXPECT_TRUE(visibleItem("Ni"));
    }
}

TEST_F(TakingTests, LeavingTheTestScreenAbandonsTheTest) {
    window_.test1Click();
    doubleClick(kKey1[0]);
    item("n1")->trigger(); // a lecture
    EXPECT_TRUE(onlyShown(window_.documentScreen()));
    EXPECT_TRUE(visibleItem("N0"));
    EXPECT_TRUE(visibleItem("Ni"));
    window_.RadioButton2DblClick(); // a late answer scores nothing
    EXPECT_EQ(window_.testrun.qnumber(), 2);
    EXPECT_EQ(window_.grades[1], 1);
    EXPECT_FALSE(QFile::exists(folder_.file(QStringLiteral("report.txt"))));

    // The administrator screen's "Назад" leaves it too, and a new test starts from question 1.
    window_.test1Click();
    EXPECT_EQ(window_.testrun.qnumber(), 1);
    window_.N17Click();
    EXPECT_TRUE(visibleItem("N0"));
    window_.test1Click();
    answer(kKey1);
    EXPECT_EQ(window_.grades[1], 5);
}

TEST_F(TakingTests, LeavingTheResultByAnotherCommandOffersTheTestMenusAgain) {
    window_.test1Click();
    answer(kKey1);
    EXPECT_FALSE(visibleItem("N0"));
    item("n1")->trigger();
    EXPECT_TRUE(visibleItem("N0"));
    EXPECT_TRUE(visibleItem("Ni"));
}

TEST_F(TakingTests, FailedFileWritesAreShownAndTheTestStillEnds) {
    window_.reportfile = QStringLiteral("nowhere/report.txt");
    QFile::setPermissions(folder_.file(QStringLiteral("users.ini")), QFile::ReadOwner);
    window_.test1Click();
    answer(kKey1);
    QStringList texts;
    for (const MessageBoxes::Shown& s : MessageBoxes::shown()) {
        texts.append(s.text);
    }
    EXPECT_EQ(texts, (QStringList{QStringLiteral("Invalid filename."),
                                  QStringLiteral("Unable to write to %1.")
                                      .arg(folder_.file(QStringLiteral("users.ini")))}));
    EXPECT_TRUE(onlyShown(window_.progressScreen()));
    EXPECT_EQ(window_.grades[1], 5);
    EXPECT_EQ(gradeLabel(1), QStringLiteral("5"));
    EXPECT_TRUE(item("test2")->isEnabled());
    // Further double clicks score nothing.
    window_.RadioButton1DblClick();
    EXPECT_EQ(window_.testrun.qnumber(), 6);
    EXPECT_EQ(MessageBoxes::shown().size(), 2);
    QFile::setPermissions(folder_.file(QStringLiteral("users.ini")),
                          QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(stored(1), QStringLiteral("1"));
}

TEST_F(TakingTests, TheAdministratorsTestIsLoggedUnderTheLogin) {
    window_.username = QStringLiteral("admin");
    window_.grades = {};
    window_.setMenuState(MenuState::Administrator);
    window_.test2Click();
    answer(kKey2);
    EXPECT_TRUE(logLines().value(0).startsWith(QStringLiteral("admin | ")));
    EXPECT_EQ(
        readini(QStringLiteral("admin"), QStringLiteral("test2"), QStringLiteral("\\users.ini")),
        QStringLiteral("5"));
    EXPECT_TRUE(item("N3")->isEnabled());
}

} // namespace
