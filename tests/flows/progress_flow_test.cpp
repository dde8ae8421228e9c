// The progress screen in the main window: the student's own grades and the administrator's pick.

#include "core/storage/scrambled_store.h"
#include "gui/documents/text_document_view.h"
#include "gui/kit/message_boxes.h"
#include "gui/screens/progress_screen.h"
#include "gui/windows/main_window.h"
#include "support/temp_folder.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::TempFolder;

namespace {

void storeGrades(const QString& user, const QStringList& values) {
    for (qsizetype n = 0; n < values.size(); ++n) {
        writeini(user, QStringLiteral("test%1").arg(n + 1), values[n],
                 QStringLiteral("\\users.ini"));
    }
}

class ProgressFlow : public ::testing::Test {
protected:
    ProgressFlow() : window_([](QWidget* parent) { return new TextDocumentView(parent); }) {
        MessageBoxes::clearShown();
        storeGrades(QStringLiteral("Бекзат"),
                    QStringLiteral("4 2 256 -1 0 0 0 0 0 3 0 0").split(QLatin1Char(' ')));
        storeGrades(QStringLiteral("Айгүл"),
                    QStringLiteral("5 5 5 5 x 0 0 0 0 0 0 0").split(QLatin1Char(' ')));
        // Start-up reads the name list and the administrator settings.
        folder_.write(QStringLiteral("users"), QByteArray());
        folder_.write(QStringLiteral("data/info/tumb.db"), "admin|admin|report.txt\r\n");
        window_.show();
        EXPECT_TRUE(MessageBoxes::shown().isEmpty());
        window_.comboBox1()->addItems(
            {QStringLiteral("Бекзат"), QStringLiteral("Айгүл"), QStringLiteral("Гость")});
    }

    // The administrator's sign-in: no grades read, the user list shown.
    void signInAsAdministrator() {
        window_.username = QStringLiteral("admin");
        window_.signedin = 1;
        window_.setMenuState(MenuState::Administrator);
        window_.comboBox1()->show();
        window_.showScreen(window_.documentScreen());
    }
    QString gradeLabel(int test) {
        return window_.progressContent()
            ->findChild<QLabel*>(QStringLiteral("Label%1").arg(17 + test))
            ->text();
    }
    QStringList shownGrades() {
        QStringList grades;
        for (int n = 1; n <= 10; ++n) {
            grades.append(gradeLabel(n));
        }
        return grades;
    }
    void pick(int index) {
        QComboBox* list = window_.comboBox1();
        list->showPopup();
        QAbstractItemView* view = list->view();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualRect(view->model()->index(index, 0)).center());
    }

    TempFolder folder_;
    MainWindow window_;
};

TEST_F(ProgressFlow, AStudentSeesTheOwnGradesFromAnyScreen) {
    window_.username = QStringLiteral("Жаңа");
    window_.grades = {0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    window_.setMenuState(MenuState::Student);
    window_.showScreen(window_.memoScreen());
    window_.menuItem(QStringLiteral("Ni"))->trigger();
    for (int n : {1, 3, 4, 6, 7}) {
        EXPECT_TRUE(window_.panel(n)->isHidden()) << n;
    }
    EXPECT_FALSE(window_.progressScreen()->isHidden());
    EXPECT_EQ(shownGrades(), QStringLiteral("1 0 0 0 0 0 0 0 0 0").split(QLatin1Char(' ')));
    EXPECT_EQ(window_.progressContent()->findChild<QLabel*>(QStringLiteral("Label5"))->text(),
              QStringLiteral("Жаңа"));
    EXPECT_FALSE(window_.comboBox1()->isVisible());
}

TEST_F(ProgressFlow, TheAdministratorPicksAUserAndSeesTheLowEightBits) {
    signInAsAdministrator();
    window_.NiClick();
    EXPECT_EQ(shownGrades(), QStringLiteral("0 0 0 0 0 0 0 0 0 0").split(QLatin1Char(' ')));
    EXPECT_TRUE(window_.comboBox1()->isVisible());
    pick(0);
    EXPECT_EQ(shownGrades(), QStringLiteral("4 2 0 255 0 0 0 0 0 3").split(QLatin1Char(' ')));
    EXPECT_EQ(window_.grades[4], 255);
    EXPECT_TRUE(MessageBoxes::shown().isEmpty());
    // Reopening the screen shows the picked user's grades again; nothing is reloaded.
    window_.showScreen(window_.documentScreen());
    window_.NiClick();
    EXPECT_EQ(gradeLabel(1), QStringLiteral("4"));
    EXPECT_EQ(window_.comboBox1()->currentText(), QStringLiteral("Бекзат"));
}

TEST_F(ProgressFlow, TypingCompletesToAUserAndLoadsTheGrades) {
    signInAsAdministrator();
    window_.NiClick();
    window_.comboBox1()->setCurrentIndex(2);
    QLineEdit* edit = window_.comboBox1()->lineEdit();
    edit->clear();
    QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QStringLiteral("б"), Qt::NoModifier);
    EXPECT_EQ(window_.comboBox1()->currentText(), QStringLiteral("Бекзат"));
    EXPECT_EQ(gradeLabel(1), QStringLiteral("4"));
    EXPECT_EQ(gradeLabel(3), QStringLiteral("0"));
    // Completing to the entry already selected loads nothing again.
    window_.grades[1] = 9;
    edit->clear();
    QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QStringLiteral("Б"), Qt::NoModifier);
    EXPECT_EQ(window_.grades[1], 9);
}

TEST_F(ProgressFlow, ADamagedOrMissingEntryStopsTheLoadAndKeepsTheLabels) {
    signInAsAdministrator();
    window_.NiClick();
    pick(0);
    pick(1); // "Айгүл": test5 holds "x"
    ASSERT_EQ(MessageBoxes::shown().size(), 1);
    EXPECT_EQ(MessageBoxes::shown()[0].text, QStringLiteral("'x' is not a valid integer value."));
    EXPECT_EQ(MessageBoxes::shown()[0].caption, applicationTitle());
    EXPECT_EQ(shownGrades(), QStringLiteral("4 2 0 255 0 0 0 0 0 3").split(QLatin1Char(' ')));
    // The entries before the damaged one are taken, the others keep the previous user's.
    EXPECT_EQ((std::array<int, 5>{window_.grades[1], window_.grades[2], window_.grades[4],
                                  window_.grades[5], window_.grades[10]}),
              (std::array<int, 5>{5, 5, 5, 0, 3}));

    MessageBoxes::clearShown();
    pick(2); // "Гость" has no section
    ASSERT_EQ(MessageBoxes::shown().size(), 1);
    EXPECT_EQ(MessageBoxes::shown()[0].text,
              QStringLiteral("'%1' is not a valid integer value.").arg(missingValue()));
    EXPECT_EQ(window_.grades[1], 5);
    EXPECT_EQ(gradeLabel(1), QStringLiteral("4"));
}

} // namespace
