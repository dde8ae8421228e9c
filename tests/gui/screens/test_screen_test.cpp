// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/screens/test_screen.h"
#include "support/widget_tree.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using velmora::Question;
using velmora::TestScreen;
using velmora::test::dumpWidgetTree;
using velmora::test::expectMatchesGolden;

namespace {

Question questionNumber(int n) {
    Question q;
    q.text = QStringLiteral("Вопрос %1?").arg(n);
    for (int i = 0; i < 5; ++i) {
        q.answers[i] = QStringLiteral("%1) ответ %2.%3").arg(QChar(u'A' + i)).arg(n).arg(i + 1);
    }
    return q;
}

// The double-click guard compares with the system's interval; each test sets the interval it
// needs and the fixture puts the old one back.
class TestScreenTest : public ::testing::Test {
protected:
    TestScreenTest() : interval_(QApplication::doubleClickInterval()) {
        QApplication::setDoubleClickInterval(0);
        screen_.resize(930, 742);
        screen_.show();
        screen_.beginTest();
        screen_.showQuestion(questionNumber(1));
    }
    ~TestScreenTest() override { QApplication::setDoubleClickInterval(interval_); }

    QRadioButton* button(int i) { return screen_.answerButton(i); }
    void doubleClick(int i) { QTest::mouseDClick(button(i), Qt::LeftButton, {}, QPoint(8, 8)); }

    TestScreen screen_;
    QSignalSpy answered_{&screen_, &TestScreen::answered};

private:
    int interval_;
};

TEST_F(TestScreenTest, ShowsTheQuestionAndItsAnswersUnderTheirNames) {
    EXPECT_EQ(screen_.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))->toPlainText(),
              QStringLiteral("Вопрос 1?"));
    EXPECT_EQ(screen_.findChild<QRadioButton*>(QStringLiteral("RadioButton3"))->text(),
              QStringLiteral("C) ответ 1.3"));
    EXPECT_EQ(screen_.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))
                  ->palette()
                  .color(QPalette::Base),
              TestScreen::background());
}

TEST(TestScreenLayout, MatchesTheReviewedDumpAsDesigned) {
    TestScreen screen;
    screen.resize(930, 742);
    screen.show();
    expectMatchesGolden(QStringLiteral("test_screen"), dumpWidgetTree(&screen));
}

// A question on the screen; its last answer is too long for its line and wraps.
TEST_F(TestScreenTest, MatchesTheReviewedDumpWithAQuestion) {
    Question q = questionNumber(3);
    q.answers[4] = QStringLiteral("E) ") + QString(120, QLatin1Char('w'));
    screen_.showQuestion(q);
    expectMatchesGolden(QStringLiteral("test_screen_question"), dumpWidgetTree(&screen_));
}

TEST_F(TestScreenTest, AnswerAreaFollowsAllFourSides) {
    auto* area = screen_.findChild<QFrame*>(QStringLiteral("Panel5"));
    EXPECT_EQ(area->geometry(), QRect(16, 176, 873, 549));
    screen_.resize(1130, 842);
    EXPECT_EQ(area->geometry(), QRect(16, 176, 1073, 649));
}

TEST_F(TestScreenTest, DoubleClickAnswersAndSingleClickOnlyMovesTheMark) {
    QTest::mouseClick(button(2), Qt::LeftButton, {}, QPoint(8, 8));
    EXPECT_EQ(screen_.markedAnswer(), 2);
    EXPECT_EQ(answered_.count(), 0);
    doubleClick(4);
    ASSERT_EQ(answered_.count(), 1);
    EXPECT_EQ(answered_.at(0).at(0).toInt(), 4);
    EXPECT_EQ(screen_.markedAnswer(), 4);
    // The mark stays on the chosen answer when the next question comes.
    screen_.showQuestion(questionNumber(2));
    EXPECT_EQ(screen_.markedAnswer(), 4);
    EXPECT_EQ(button(1)->text(), QStringLiteral("A) ответ 2.1"));
}

TEST_F(TestScreenTest, ADoubleClickRightAfterAQuestionAppearedIsIgnored) {
    QApplication::setDoubleClickInterval(60'000);
    screen_.showQuestion(questionNumber(2));
    doubleClick(3);
    EXPECT_EQ(answered_.count(), 0);
    QApplication::setDoubleClickInterval(0);
    doubleClick(3);
    ASSERT_EQ(answered_.count(), 1);
    EXPECT_EQ(answered_.at(0).at(0).toInt(), 3);
}

TEST_F(TestScreenTest, ArrowsMoveTheMarkAndEnterOrSpaceAnswer) {
    EXPECT_EQ(screen_.markedAnswer(), 0);
    QTest::keyClick(button(1), Qt::Key_Down);
    EXPECT_EQ(screen_.markedAnswer(), 1);
    QTest::keyClick(button(1), Qt::Key_Down);
    QTest::keyClick(button(2), Qt::Key_Right);
    EXPECT_EQ(screen_.markedAnswer(), 3);
    QTest::keyClick(button(3), Qt::Key_Up);
    EXPECT_EQ(screen_.markedAnswer(), 2);
    EXPECT_EQ(answered_.count(), 0);
    QTest::keyClick(button(2), Qt::Key_Return);
    QTest::keyClick(button(2), Qt::Key_Space);
    QTest::keyClick(button(2), Qt::Key_Enter, Qt::KeypadModifier);
    ASSERT_EQ(answered_.count(), 3);
    for (const QList<QVariant>& call : answered_) {
        EXPECT_EQ(call.at(0).toInt(), 2);
    }
    // The mark stops at the ends.
    for (int i = 0; i < 7; ++i) {
        QTest::keyClick(button(screen_.markedAnswer()), Qt::Key_Down);
    }
    EXPECT_EQ(screen_.markedAnswer(), 5);
    for (int i = 0; i < 7; ++i) {
        QTest::keyClick(button(screen_.markedAnswer()), Qt::Key_Up);
    }
    EXPECT_EQ(screen_.markedAnswer(), 1);
}

TEST_F(TestScreenTest, KeyboardNeverAnswersWithoutAMarkNorTwiceForAHeldKey) {
    QTest::keyClick(&screen_, Qt::Key_Return);
    EXPECT_EQ(answered_.count(), 0);
    QTest::keyClick(button(1), Qt::Key_Space); // marks the answer in focus
    EXPECT_EQ(answered_.count(), 0);
    EXPECT_EQ(screen_.markedAnswer(), 1);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(button(1), &repeat);
    QTest::keyClick(button(1), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(answered_.count(), 0);
    QTest::keyClick(&screen_, Qt::Key_Space);
    ASSERT_EQ(answered_.count(), 1);
    EXPECT_EQ(answered_.at(0).at(0).toInt(), 1);
}

// Answers as long as the store holds: each wraps onto the lines it needs, the five keep their order
// without overlapping, and the area scrolls to bring a chosen answer into view.
TEST_F(TestScreenTest, LongAnswersWrapInOrderAndTheAreaScrolls) {
    Question q = questionNumber(4);
    for (int i = 0; i < 5; ++i) {
        q.answers[i] = (QStringLiteral("%1) ").arg(QChar(u'A' + i)) +
                        QStringLiteral("өте ұзын жауап & ").repeated(200))
                           .left(2047);
    }
    screen_.showQuestion(q);
    EXPECT_EQ(velmora::test::textsThatDoNotFit(&screen_), QStringList());
    for (int i = 1; i <= 5; ++i) {
        EXPECT_GT(button(i)->height(), 10 * button(i)->fontMetrics().height()) << i;
        if (i > 1) {
            EXPECT_GT(button(i)->y(), button(i - 1)->geometry().bottom()) << i;
        }
    }
    auto* area = screen_.findChild<QScrollArea*>(QStringLiteral("Panel5"));
    EXPECT_GT(area->verticalScrollBar()->maximum(), 0);
    QTest::keyClick(&screen_, Qt::Key_E);
    const QRect shown = area->viewport()->rect();
    EXPECT_TRUE(shown.intersects(
        QRect(button(5)->mapTo(area->viewport(), QPoint(0, 0)), button(5)->size())));
    // A double click on the text, far from the round mark, answers.
    QTest::mouseDClick(button(5), Qt::LeftButton, {}, QPoint(600, 40));
    ASSERT_EQ(answered_.count(), 1);
    EXPECT_EQ(answered_.at(0).at(0).toInt(), 5);
    // The next question starts at the top of the area.
    screen_.showQuestion(q);
    EXPECT_EQ(area->verticalScrollBar()->value(), 0);
}

// The mark stays on the previous question's answer, but an Enter pressed again does not answer the
// new question with it: keys answer once the student chose on this question.
TEST_F(TestScreenTest, KeysAnswerANewQuestionOnlyAfterAChoiceOnIt) {
    QTest::keyClick(&screen_, Qt::Key_3);
    QTest::keyClick(&screen_, Qt::Key_Return);
    ASSERT_EQ(answered_.count(), 1);
    screen_.showQuestion(questionNumber(2));
    EXPECT_EQ(screen_.markedAnswer(), 3);
    QTest::keyClick(&screen_, Qt::Key_Return);
    EXPECT_EQ(answered_.count(), 1);
    QTest::keyClick(&screen_, Qt::Key_B);
    QTest::keyClick(&screen_, Qt::Key_Return);
    ASSERT_EQ(answered_.count(), 2);
    EXPECT_EQ(answered_.at(1).at(0).toInt(), 2);
    // A single click chooses too; the keypad's numbers name answers as the others do.
    screen_.showQuestion(questionNumber(3));
    QTest::mouseClick(button(4), Qt::LeftButton, {}, QPoint(8, 8));
    QTest::keyClick(&screen_, Qt::Key_Space);
    screen_.showQuestion(questionNumber(4));
    QTest::keyClick(&screen_, Qt::Key_5, Qt::KeypadModifier);
    QTest::keyClick(&screen_, Qt::Key_Enter, Qt::KeypadModifier);
    ASSERT_EQ(answered_.count(), 4);
    EXPECT_EQ(answered_.at(2).at(0).toInt(), 4);
    EXPECT_EQ(answered_.at(3).at(0).toInt(), 5);
}

TEST_F(TestScreenTest, AnAnsweringKeyRightAfterAQuestionAppearedIsIgnored) {
    QApplication::setDoubleClickInterval(60'000);
    screen_.showQuestion(questionNumber(2));
    QTest::keyClick(&screen_, Qt::Key_A);
    QTest::keyClick(&screen_, Qt::Key_Return);
    EXPECT_EQ(answered_.count(), 0);
    QApplication::setDoubleClickInterval(0);
    QTest::keyClick(&screen_, Qt::Key_Return);
    ASSERT_EQ(answered_.count(), 1);
    EXPECT_EQ(answered_.at(0).at(0).toInt(), 1);
}

} // namespace
