#include "gui/screens/progress_screen.h"
#include "gui/screens/user_list_box.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using velmora::ProgressScreen;
using velmora::UserListBox;

namespace {

QString labelText(const ProgressScreen& screen, int number) {
    return screen.findChild<QLabel*>(QStringLiteral("Label%1").arg(number))->text();
}

TEST(ProgressScreen, ShowsTheGradesOfTestsOneToTenAndTheName) {
    ProgressScreen screen;
    screen.show();
    const quint8 grades[12] = {1, 0, 0, 0, 0, 0, 0, 0, 0, 255, 7, 9};
    screen.showGrades(grades);
    screen.setUserName(QStringLiteral("Айгүл"));
    EXPECT_EQ(labelText(screen, 18), QStringLiteral("1"));
    EXPECT_EQ(labelText(screen, 19), QStringLiteral("0"));
    EXPECT_EQ(labelText(screen, 27), QStringLiteral("255"));
    EXPECT_EQ(labelText(screen, 28), QStringLiteral("7"));
    EXPECT_EQ(labelText(screen, 5), QStringLiteral("Айгүл"));
    EXPECT_EQ(labelText(screen, 15), QStringLiteral("Тест №10"));
    for (int hidden : {16, 17, 28, 29}) {
        EXPECT_FALSE(screen.findChild<QLabel*>(QStringLiteral("Label%1").arg(hidden))->isVisible())
            << hidden;
    }
    for (int shown = 3; shown <= 27; ++shown) {
        if (shown != 16 && shown != 17) {
            EXPECT_TRUE(
                screen.findChild<QLabel*>(QStringLiteral("Label%1").arg(shown))->isVisible())
                << shown;
        }
    }
    EXPECT_EQ(screen.findChild<QLabel*>(QStringLiteral("Label27"))->pos(), QPoint(192, 406));
    EXPECT_FALSE(screen.userList()->isVisible());
    EXPECT_EQ(screen.userList()->objectName(), QStringLiteral("ComboBox1"));
}

TEST(ProgressScreen, BackButtonIsReported) {
    ProgressScreen screen;
    QSignalSpy back(&screen, &ProgressScreen::backClicked);
    auto* button = screen.findChild<QAbstractButton*>(QStringLiteral("SpeedButton4"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QStringLiteral("<<Назад"));
    button->click();
    EXPECT_EQ(back.count(), 1);
}

class UserListTest : public ::testing::Test {
protected:
    UserListTest() {
        list_.addItems({QStringLiteral("Бекзат"), QStringLiteral("айгүл"), QStringLiteral("Айдар"),
                        QStringLiteral("Ainur")});
        list_.setCurrentIndex(0);
        list_.show();
        list_.lineEdit()->clear();
    }
    // Types text key by key (QTest::keyClicks knows only ASCII).
    void type(const QString& text) {
        for (const QChar c : text) {
            QTest::sendKeyEvent(QTest::Click, list_.lineEdit(), Qt::Key_unknown, QString(c),
                                Qt::NoModifier);
        }
    }

    UserListBox list_;
    QSignalSpy chosen_{&list_, &UserListBox::chosen};
};

TEST_F(UserListTest, CompletesToTheFirstEntryWhateverTheLetterCase) {
    type(QStringLiteral("АЙ"));
    EXPECT_EQ(list_.currentIndex(), 1);
    EXPECT_EQ(list_.currentText(), QStringLiteral("айгүл"));
    EXPECT_EQ(list_.lineEdit()->selectedText(), QStringLiteral("гүл"));
    EXPECT_EQ(chosen_.count(), 1); // once: the second letter completes to the same entry
    type(QStringLiteral("д"));
    EXPECT_EQ(list_.currentText(), QStringLiteral("Айдар"));
    EXPECT_EQ(chosen_.count(), 2);
}

TEST_F(UserListTest, CompletionToTheSelectedEntryOrToNothingIsNoChoice) {
    type(QStringLiteral("б"));
    EXPECT_EQ(list_.currentText(), QStringLiteral("Бекзат"));
    EXPECT_EQ(chosen_.count(), 0); // the entry selected before
    list_.lineEdit()->clear();
    type(QStringLiteral("Ж"));
    EXPECT_EQ(list_.currentIndex(), 0);
    EXPECT_EQ(list_.lineEdit()->text(), QStringLiteral("Ж"));
    EXPECT_EQ(chosen_.count(), 0);
}

TEST_F(UserListTest, DeletingDoesNotCompleteAgain) {
    type(QStringLiteral("ai"));
    EXPECT_EQ(list_.currentText(), QStringLiteral("Ainur"));
    // The completed text takes the entry's spelling; Backspace removes the completed part.
    QTest::keyClick(list_.lineEdit(), Qt::Key_Backspace);
    EXPECT_EQ(list_.lineEdit()->text(), QStringLiteral("Ai"));
    QTest::keyClick(list_.lineEdit(), Qt::Key_Backspace);
    EXPECT_EQ(list_.lineEdit()->text(), QStringLiteral("A"));
    EXPECT_EQ(chosen_.count(), 1);
}

TEST_F(UserListTest, APickFromTheListIsAChoiceEvenOfTheSameEntry) {
    list_.setCurrentIndex(2);
    EXPECT_EQ(chosen_.count(), 0); // set in code, not picked
    for (int pick = 0; pick < 2; ++pick) {
        list_.showPopup();
        QAbstractItemView* view = list_.view();
        const QRect item = view->visualRect(view->model()->index(2, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
    }
    EXPECT_EQ(chosen_.count(), 2);
    EXPECT_EQ(list_.currentIndex(), 2);
    EXPECT_EQ(list_.count(), 4);
    type(QStringLiteral("нов"));
    QTest::keyClick(list_.lineEdit(), Qt::Key_Return);
    EXPECT_EQ(list_.count(), 4); // typed text never becomes an entry
}

} // namespace
