// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/screens/test_screen.h"

#include "gui/kit/first_show.h"
#include "gui/kit/ui_font.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>

namespace velmora {
namespace {

// The screen's design size inside its panel's bevels; the answer area keeps its distance to the
// right and bottom edges.
constexpr QSize kDesignSize(930, 742);
constexpr QRect kAnswerArea(16, 176, 873, 549);

constexpr std::array<int, TestScreen::kAnswers> kLetterTops = {32, 72, 120, 176, 224};
constexpr std::array<int, TestScreen::kAnswers> kButtonTops = {34, 80, 126, 180, 226};

QFont boldFont(int pixels) {
    return pixelFont(QStringLiteral("MS Sans Serif"), pixels, true);
}

QLabel* label(QWidget* parent, const char* name, const QString& text, QPoint at, int pixels) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setFont(boldFont(pixels));
    l->move(at);
    onFirstShow(l, [l] { l->adjustSize(); });
    return l;
}

void fillWith(QWidget* widget, QPalette::ColorRole role, const QColor& color) {
    QPalette p = widget->palette();
    p.setColor(role, color);
    widget->setPalette(p);
    widget->setAutoFillBackground(true);
}

bool isAnswerKey(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
}

} // namespace

TestScreen::TestScreen(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TestScreen"));
    fillWith(this, QPalette::Window, background());
    setFocusPolicy(Qt::StrongFocus);
    build();
    installEventFilter(this);
}

QColor TestScreen::background() {
    return {0xA6, 0xCA, 0xF0};
}

void TestScreen::build() {
    label(this, "Label34", QStringLiteral("Вопрос:"), {16, 16}, 13);
    label(this, "Label39", QStringLiteral("Выделение ответа двойным нажатием клавиш мыши!!!"),
          {344, 8}, 19);

    memo_ = new QPlainTextEdit(this);
    memo_->setObjectName(QStringLiteral("Memo1"));
    memo_->setFont(boldFont(13));
    memo_->setFrameShape(QFrame::NoFrame);
    memo_->setReadOnly(true);
    memo_->setFocusPolicy(Qt::NoFocus);
    memo_->setGeometry(32, 32, 849, 137);
    memo_->setAccessibleName(QStringLiteral("Вопрос"));

    answerArea_ = new QFrame(this);
    answerArea_->setObjectName(QStringLiteral("Panel5"));
    answerArea_->setFrameStyle(QFrame::Box | QFrame::Sunken);
    answerArea_->setFont(boldFont(19));
    fillWith(answerArea_, QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    answerArea_->setGeometry(kAnswerArea);

    static constexpr std::array<const char*, kAnswers> kLetterNames = {
        "Label44", "Label45", "Label46", "Label47", "Label48"};
    for (int i = 0; i < kAnswers; ++i) {
        label(answerArea_, kLetterNames[i], QString(QChar(u'A' + i)), {32, kLetterTops[i]}, 19);
        auto* button = new QRadioButton(answerArea_);
        button->setObjectName(QStringLiteral("RadioButton%1").arg(i + 1));
        button->setFont(boldFont(13));
        button->setGeometry(50, kButtonTops[i], 800, 17);
        button->setAccessibleName(QStringLiteral("Ответ %1").arg(QChar(u'A' + i)));
        button->installEventFilter(this);
        buttons_[i] = button;
    }
    auto* sixth = new QRadioButton(answerArea_);
    sixth->setObjectName(QStringLiteral("RadioButton6"));
    sixth->setGeometry(438, 138, 291, 17);
    sixth->setAccessibleName(QStringLiteral("RadioButton6"));
    sixth->hide();
    buttons_[kAnswers] = sixth;
}

void TestScreen::beginTest() {
    QPalette p = memo_->palette();
    p.setColor(QPalette::Base, background());
    memo_->setPalette(p);
}

void TestScreen::showQuestion(const Question& question) {
    memo_->setPlainText(question.text);
    for (int i = 0; i < kAnswers; ++i) {
        QRadioButton* button = buttons_[i];
        const QString& text = question.answers[i];
        button->setText(text);
        // A long answer does not fit its line; the whole text is at hand as a tool tip.
        const bool cut = button->fontMetrics().horizontalAdvance(text) > button->width() - 24;
        button->setToolTip(cut ? text : QString());
    }
    shownAt_.start();
    focusAnswers();
}

int TestScreen::markedAnswer() const {
    for (int i = 0; i < kAnswers; ++i) {
        if (buttons_[i]->isChecked()) {
            return i + 1;
        }
    }
    return 0;
}

int TestScreen::positionOf(const QObject* object) const {
    for (int i = 0; i < kAnswers; ++i) {
        if (buttons_[i] == object) {
            return i + 1;
        }
    }
    return 0;
}

bool TestScreen::eventFilter(QObject* watched, QEvent* event) {
    const int position = positionOf(watched);
    if (event->type() == QEvent::MouseButtonDblClick && position > 0) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const bool tooSoon =
            shownAt_.isValid() && shownAt_.elapsed() < QApplication::doubleClickInterval();
        if (mouse->button() == Qt::LeftButton && !tooSoon) {
            buttons_[position - 1]->setChecked(true);
            Q_EMIT answered(position);
            return true;
        }
        return false;
    }
    if (event->type() == QEvent::KeyPress && (position > 0 || watched == this)) {
        return handleKey(static_cast<QKeyEvent*>(event));
    }
    return QWidget::eventFilter(watched, event);
}

bool TestScreen::handleKey(const QKeyEvent* key) {
    switch (key->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left:
        moveMark(-1);
        return true;
    case Qt::Key_Down:
    case Qt::Key_Right:
        moveMark(1);
        return true;
    default:
        break;
    }
    if (!isAnswerKey(key->key()) || key->modifiers() & ~Qt::KeypadModifier) {
        return false;
    }
    // A held key repeats; only the first press answers.
    if (key->isAutoRepeat()) {
        return true;
    }
    const int marked = markedAnswer();
    if (marked > 0) {
        Q_EMIT answered(marked);
    } else if (key->key() == Qt::Key_Space && positionOf(focusWidget()) > 0) {
        // Nothing marked yet: Space marks the answer in focus, as with any option button.
        buttons_[positionOf(focusWidget()) - 1]->setChecked(true);
    }
    return true;
}

void TestScreen::moveMark(int step) {
    const int marked = markedAnswer();
    const int next = marked == 0 ? 1 : std::clamp(marked + step, 1, kAnswers);
    buttons_[next - 1]->setChecked(true);
    buttons_[next - 1]->setFocus();
}

void TestScreen::focusAnswers() {
    const int marked = markedAnswer();
    buttons_[marked > 0 ? marked - 1 : 0]->setFocus();
}

void TestScreen::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Anchored to all four sides: the answer area keeps its margins as the screen grows.
    const int right = kDesignSize.width() - kAnswerArea.right() - 1;
    const int bottom = kDesignSize.height() - kAnswerArea.bottom() - 1;
    answerArea_->resize(std::max(width() - kAnswerArea.left() - right, 200),
                        std::max(height() - kAnswerArea.top() - bottom, 200));
}

} // namespace velmora
