// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/exam/test_run.h"

#include <QElapsedTimer>
#include <QWidget>
#include <array>

class QKeyEvent;
class QLabel;
class QPlainTextEdit;
class QRadioButton;
class QScrollArea;

namespace velmora {

// The content of the test screen: the question in `Memo1` and the five answers `RadioButton1` …
// `RadioButton5` in the answer area `Panel5`. An answer too long for its line wraps, pushing the
// answers below it down; the area scrolls when they no longer fit. A single click anywhere on an
// answer only moves the mark; a double click answers.
//
// From the keyboard the arrow keys, or an answer's letter (A … E) or number (1 … 5), choose an
// answer, and Enter or Space answers the chosen one. The mark stays on the previous question's
// answer when a new question comes, but Enter and Space answer only once something was chosen on
// this question (Space with nothing chosen chooses the answer in focus). A double click or an
// answering key that comes within the system's double-click interval after a question appeared is
// ignored, so a hasty second click or key press never answers the next question unseen.
class TestScreen : public QWidget {
    Q_OBJECT

public:
    static constexpr int kAnswers = kAnswersPerQuestion;

    explicit TestScreen(QWidget* parent = nullptr);

    // The screen's background, sky blue.
    static QColor background();

    // Prepares the screen for a new test: the question box takes the screen's background.
    void beginTest();
    // Shows a question. The mark stays on the answer chosen for the previous question.
    void showQuestion(const Question& question);
    // The place of the question shown, which a screen reader reads with it ("Вопрос 2 из 10")
    // and announces when it changes.
    void setQuestionNumber(int number, int total);

    // Shows the time left of a timed test in the label `timeLeft`, made at its first use, as text
    // that screen readers read too; `hideTimeLeft` hides it for a test without a limit.
    void showTimeLeft(const QString& text);
    void hideTimeLeft();

    // Answer button 1 … 5, or the hidden sixth button.
    QRadioButton* answerButton(int position) const { return buttons_.at(position - 1); }
    // The marked answer among the five, or 0.
    int markedAnswer() const;

Q_SIGNALS:
    // An answer was double-clicked or chosen from the keyboard (1 … 5).
    void answered(int position);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void build();
    int positionOf(const QObject* object) const;
    bool handleKey(const QKeyEvent* key);
    void answerFromKey(int key);
    void choose(int position);
    void moveMark(int step);
    void focusAnswers();
    bool tooSoonAfterShown() const;
    void layOutAnswers();

    QPlainTextEdit* memo_ = nullptr;
    QLabel* timeLeft_ = nullptr;
    QScrollArea* answerArea_ = nullptr;
    std::array<QLabel*, kAnswers> letters_{};
    std::array<QRadioButton*, kAnswers + 1> buttons_{};
    QElapsedTimer shownAt_;
    // Whether the student chose an answer since the question appeared.
    bool chosen_ = false;
};

} // namespace velmora
