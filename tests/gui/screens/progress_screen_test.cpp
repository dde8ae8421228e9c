// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/course/course_book.h"
#include "gui/screens/progress_screen.h"
#include "gui/screens/user_list_box.h"
#include "support/widget_tree.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>

using velmora::ProgressScreen;
using velmora::UserListBox;
using velmora::test::dumpWidgetTree;
using velmora::test::expectMatchesGolden;

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
}

// The screen as it stands inside the progress panel's bevels.
constexpr QSize kScreenSize(917, 741);

TEST(ProgressScreen, MatchesTheReviewedDumpAsDesigned) {
    ProgressScreen screen;
    screen.resize(kScreenSize);
    screen.show();
    expectMatchesGolden(QStringLiteral("progress_screen"), dumpWidgetTree(&screen));
}

// As the administrator sees it: the list of users over the name, one of them chosen.
TEST(ProgressScreen, MatchesTheReviewedDumpWithTheUserList) {
    ProgressScreen screen;
    screen.resize(kScreenSize);
    screen.show();
    screen.userList()->addItems(
        {QStringLiteral("admin"), QStringLiteral("Айгүл"), QStringLiteral("Бекзат")});
    screen.userList()->setCurrentIndex(1);
    screen.userList()->show();
    const quint8 grades[12] = {5, 4, 3, 0, 0, 0, 0, 0, 0, 2, 0, 0};
    screen.showGrades(grades);
    expectMatchesGolden(QStringLiteral("progress_screen_with_user_list"), dumpWidgetTree(&screen));
}

// The rows are the course's shown tests: fewer tests give fewer rows in today's places, more tests
// continue the column down to the screen's foot without leaving it; slots beyond them stay hidden.
TEST(ProgressScreen, ShowsOneRowPerShownTestOfTheCourse) {
    struct Row {
        int shownTests;
        int gradeSlots;
    };
    for (const Row row : {Row{3, 3}, Row{3, 12}, Row{10, 12}, Row{12, 12}, Row{20, 12}}) {
        velmora::CourseBook course;
        course.shownTests = row.shownTests;
        course.gradeSlots = row.gradeSlots;
        ProgressScreen screen(course);
        screen.resize(921, 745);
        screen.show();
        QList<int> tops;
        int hidden = 0;
        for (const QLabel* label : screen.findChildren<QLabel*>()) {
            if (!label->text().startsWith(QStringLiteral("Тест №"))) {
                continue;
            }
            if (label->isVisible()) {
                tops.append(label->y());
                EXPECT_LE(label->geometry().bottom(), screen.height())
                    << label->text().toStdString();
            } else {
                ++hidden;
            }
        }
        std::sort(tops.begin(), tops.end());
        ASSERT_EQ(tops.size(), row.shownTests) << row.shownTests;
        EXPECT_EQ(tops.front(), 82);
        if (row.shownTests <= 10) {
            EXPECT_EQ(tops.back(), 82 + 36 * (row.shownTests - 1));
        }
        EXPECT_EQ(hidden, std::max(0, row.gradeSlots - row.shownTests)) << row.shownTests;
    }
}

TEST(ProgressScreen, BackButtonIsReported) {
    ProgressScreen screen;
    QSignalSpy back(&screen, &ProgressScreen::backClicked);
    auto* button = screen.findChild<QAbstractButton*>(QStringLiteral("SpeedButton4"));
    ASSERT_NE(button, nullptr);
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
