// A student works through the course's five tests on a copy of course/, then the administrator
// looks at the student's grades and the test log.

#include "core/exam/test_file.h"
#include "core/storage/scrambled_store.h"
#include "gui/documents/text_document_view.h"
#include "gui/kit/message_boxes.h"
#include "gui/screens/progress_screen.h"
#include "gui/screens/test_screen.h"
#include "gui/windows/main_window.h"
#include "support/temp_folder.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::TempFolder;

namespace {

const QString kStudent = QStringLiteral("Әсел");
const QString kRegister = QStringLiteral("\\users.ini");

void copyCourse(const QString& to) {
    const QString from = QStringLiteral(VELMORA_SOURCE_ROOT) + QStringLiteral("/course");
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + file.mid(from.size());
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::copy(file, target);
    }
}

// The positions of the right answers of a course test, from its file.
QList<int> rightAnswers(int test) {
    const TestFile file = TestFile::named(QStringLiteral("test%1").arg(test));
    QList<int> positions;
    for (int k = 1; k <= file.total(); ++k) {
        const std::optional<QChar> letter = file.question(k).correctLetter();
        positions.append(letter ? letter->unicode() - u'A' + 1 : 1);
    }
    return positions;
}

TEST(CourseEndToEnd, AStudentPassesTestsOneToFiveAndTheAdministratorSeesIt) {
    const TempFolder folder;
    copyCourse(folder.path());
    const int interval = QApplication::doubleClickInterval();
    QApplication::setDoubleClickInterval(0);
    MessageBoxes::clearShown();

    // As registration leaves the register.
    writeini(kStudent, QStringLiteral("password"), QStringLiteral("7"), kRegister);
    for (int n = 1; n <= 12; ++n) {
        writeini(kStudent, QStringLiteral("test%1").arg(n),
                 n == 1 ? QStringLiteral("1") : QStringLiteral("0"), kRegister);
    }
    MainWindow window([](QWidget* parent) { return new TextDocumentView(parent); });
    window.show();
    window.reportfile = QStringLiteral("report.log");
    // As a student's sign-in leaves the window.
    window.username = kStudent;
    window.signedin = 1;
    window.grades = {0, 1};
    for (int n = 1; n <= 9; ++n) {
        window.enable(QStringLiteral("test%1").arg(n), 0);
    }
    window.setMenuState(MenuState::Student);
    window.showScreen(window.documentScreen());

    const QStringList nextLecture{QStringLiteral("N2"), QStringLiteral("N3"), QStringLiteral("N33"),
                                  QStringLiteral("N34")};
    for (int test = 1; test <= 5; ++test) {
        SCOPED_TRACE(test);
        QAction* item = window.menuItem(QStringLiteral("test%1").arg(test));
        ASSERT_TRUE(item->isEnabled());
        item->trigger();
        ASSERT_FALSE(window.testScreen()->isHidden());
        for (int position : rightAnswers(test)) {
            QTest::mouseDClick(window.testContent()->answerButton(position), Qt::LeftButton, {},
                               QPoint(8, 8));
        }
        ASSERT_FALSE(window.progressScreen()->isHidden());
        EXPECT_EQ(window.progressContent()
                      ->findChild<QLabel*>(QStringLiteral("Label%1").arg(17 + test))
                      ->text(),
                  QStringLiteral("5"));
        if (test < 5) {
            EXPECT_TRUE(window.menuItem(nextLecture[test - 1])->isEnabled());
            EXPECT_TRUE(window.menuItem(QStringLiteral("test%1").arg(test + 1))->isEnabled());
        }
        window.SpeedButton4Click();
    }
    EXPECT_TRUE(MessageBoxes::shown().isEmpty());
    for (int n = 1; n <= 5; ++n) {
        EXPECT_EQ(readini(kStudent, QStringLiteral("test%1").arg(n), kRegister),
                  QStringLiteral("5"))
            << n;
    }

    // The administrator, in the same window for brevity, picks the student and reads the log.
    window.username = QStringLiteral("admin");
    window.grades = {};
    window.setMenuState(MenuState::Administrator);
    window.comboBox1()->addItems({QStringLiteral("Бекзат"), kStudent});
    window.comboBox1()->show();
    window.NiClick();
    window.comboBox1()->showPopup();
    QAbstractItemView* view = window.comboBox1()->view();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->visualRect(view->model()->index(1, 0)).center());
    for (int n = 1; n <= 10; ++n) {
        EXPECT_EQ(window.progressContent()
                      ->findChild<QLabel*>(QStringLiteral("Label%1").arg(17 + n))
                      ->text(),
                  n <= 5 ? QStringLiteral("5") : QStringLiteral("0"));
    }
    window.menuItem(QStringLiteral("N30"))->trigger();
    const QStringList log = window.memo2()->toPlainText().split(QLatin1Char('\n'));
    ASSERT_EQ(log.size(), 5);
    for (int n = 1; n <= 5; ++n) {
        EXPECT_TRUE(log[n - 1].startsWith(kStudent + QStringLiteral(" | ")));
        EXPECT_TRUE(log[n - 1].endsWith(QStringLiteral(" | test%1 | 5").arg(n)));
    }
    EXPECT_TRUE(MessageBoxes::shown().isEmpty());
    QApplication::setDoubleClickInterval(interval);
}

} // namespace
