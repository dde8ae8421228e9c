// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/screens/test_screen.h"

#include "gui/kit/first_show.h"
#include "gui/kit/ui_font.h"
#include "gui/screens/answer_button.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>

namespace velmora {
namespace {

// The screen's design size inside its panel's bevels; the answer area keeps its distance to the
// right and bottom edges.
constexpr QSize kDesignSize(930, 742);
constexpr QRect kAnswerArea(16, 176, 873, 549);

constexpr std::array<int, TestScreen::kAnswers> kLetterTops = {32, 72, 120, 176, 224};
constexpr std::array<int, TestScreen::kAnswers> kButtonTops = {34, 80, 126, 180, 226};
constexpr int kLetterLeft = 32;
constexpr int kButtonLeft = 50;
constexpr int kButtonHeight = 17;
// Between the answers' right edge and the answer area's (800 pixels wide answers as designed).
constexpr int kButtonRightMargin = kAnswerArea.width() - kButtonLeft - 800;

QFont boldFont(int pixels) {
    return pixelFont(QStringLiteral("MS Sans Serif"), pixels, true);
}

QLabel* label(QWidget* parent, const char* name, const QString& text, QPoint at, int pixels) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setTextFormat(Qt::PlainText);
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

// The answer a letter (A … E) or number (1 … 5) key names, or 0.
int positionOfKey(int key) {
    if (key >= Qt::Key_A && key < Qt::Key_A + TestScreen::kAnswers) {
        return key - Qt::Key_A + 1;
    }
    if (key >= Qt::Key_1 && key < Qt::Key_1 + TestScreen::kAnswers) {
        return key - Qt::Key_1 + 1;
    }
    return 0;
}

} // namespace

TestScreen::TestScreen(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TestScreen"));
    fillWith(this, QPalette::Window, background());
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Тест"));
    setAccessibleDescription(
        QStringLiteral("Ответ выбирается клавишами A–E или 1–5 и подтверждается клавишей Enter"));
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

    answerArea_ = new QScrollArea(this);
    answerArea_->setObjectName(QStringLiteral("Panel5"));
    answerArea_->setFrameStyle(QFrame::Box | QFrame::Sunken);
    answerArea_->setFont(boldFont(19));
    answerArea_->setFocusPolicy(Qt::NoFocus);
    answerArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    fillWith(answerArea_, QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    answerArea_->setGeometry(kAnswerArea);
    auto* answers = new QWidget;
    answers->setObjectName(QStringLiteral("answers"));
    answerArea_->setWidget(answers);
    answerArea_->viewport()->setAutoFillBackground(false);
    answerArea_->viewport()->installEventFilter(this);

    static constexpr std::array<const char*, kAnswers> kLetterNames = {
        "Label44", "Label45", "Label46", "Label47", "Label48"};
    for (int i = 0; i < kAnswers; ++i) {
        letters_[i] = label(answers, kLetterNames[i], QString(QChar(u'A' + i)), {}, 19);
        auto* button = new AnswerButton(answers);
        button->setObjectName(QStringLiteral("RadioButton%1").arg(i + 1));
        button->setFont(boldFont(13));
        button->setAccessibleName(QStringLiteral("Ответ %1").arg(QChar(u'A' + i)));
        button->setAccessibleDescription(button->accessibleName());
        button->installEventFilter(this);
        connect(button, &QRadioButton::clicked, this, [this] { chosen_ = true; });
        buttons_[i] = button;
    }
    auto* sixth = new QRadioButton(answers);
    sixth->setObjectName(QStringLiteral("RadioButton6"));
    sixth->setGeometry(438, 138, 291, 17);
    sixth->setAccessibleName(QStringLiteral("RadioButton6"));
    sixth->hide();
    buttons_[kAnswers] = sixth;
    layOutAnswers();
}

// The answers at their designed places, each as high as its text needs; an answer taller than one
// line moves those below it down by as much. Positions are the answer area's own, whatever its
// frame takes.
void TestScreen::layOutAnswers() {
    const int frame = answerArea_->frameWidth();
    const int width = std::max(answerArea_->width() - kButtonLeft - kButtonRightMargin, 100);
    int shift = 0;
    int bottom = 0;
    for (int i = 0; i < kAnswers; ++i) {
        const int height = std::max(kButtonHeight, buttons_[i]->heightForWidth(width));
        buttons_[i]->setGeometry(kButtonLeft - frame, kButtonTops[i] + shift - frame, width,
                                 height);
        letters_[i]->move(kLetterLeft - frame, kLetterTops[i] + shift - frame);
        bottom = buttons_[i]->geometry().bottom();
        shift += height - kButtonHeight;
    }
    QWidget* answers = answerArea_->widget();
    answers->resize(answerArea_->viewport()->width(),
                    std::max(answerArea_->viewport()->height(), bottom + kButtonHeight));
}

void TestScreen::beginTest() {
    QPalette p = memo_->palette();
    p.setColor(QPalette::Base, background());
    memo_->setPalette(p);
}

void TestScreen::setQuestionNumber(int number, int total) {
    memo_->setAccessibleName(QStringLiteral("Вопрос %1 из %2").arg(number).arg(total));
}

void TestScreen::showQuestion(const Question& question) {
    memo_->setPlainText(question.text);
    for (int i = 0; i < kAnswers; ++i) {
        buttons_[i]->setText(question.answers[i]);
        // A screen reader reads the answer itself; an empty one by its letter.
        buttons_[i]->setAccessibleName(question.answers[i].isEmpty()
                                           ? QStringLiteral("Ответ %1").arg(QChar(u'A' + i))
                                           : QString());
    }
    layOutAnswers();
    answerArea_->verticalScrollBar()->setValue(0);
    shownAt_.start();
    chosen_ = false;
    focusAnswers();
}

void TestScreen::showTimeLeft(const QString& text) {
    if (timeLeft_ == nullptr) {
        timeLeft_ = label(this, "timeLeft", QString(), {120, 14}, 15);
    }
    const QString shown = QStringLiteral("Осталось времени: %1").arg(text);
    // The clock ticks several times a second: a screen reader hears each new figure once.
    if (timeLeft_->text() != shown) {
        timeLeft_->setText(shown);
        timeLeft_->setAccessibleName(shown);
        timeLeft_->adjustSize();
    }
    timeLeft_->show();
}

void TestScreen::hideTimeLeft() {
    if (timeLeft_ != nullptr) {
        timeLeft_->hide();
    }
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
    if (watched == answerArea_->viewport() && event->type() == QEvent::Resize) {
        layOutAnswers();
        return false;
    }
    const int position = positionOf(watched);
    if (event->type() == QEvent::MouseButtonDblClick && position > 0) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && !tooSoonAfterShown()) {
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

bool TestScreen::tooSoonAfterShown() const {
    return shownAt_.isValid() && shownAt_.elapsed() < QApplication::doubleClickInterval();
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
    const Qt::KeyboardModifiers extra = key->modifiers() & ~Qt::KeypadModifier;
    if (const int named = positionOfKey(key->key()); named > 0 && extra == Qt::NoModifier) {
        choose(named);
        return true;
    }
    if (!isAnswerKey(key->key()) || extra != Qt::NoModifier) {
        return false;
    }
    // A held key repeats; only the first press answers.
    if (!key->isAutoRepeat()) {
        answerFromKey(key->key());
    }
    return true;
}

void TestScreen::answerFromKey(int key) {
    if (tooSoonAfterShown()) {
        return;
    }
    const int marked = markedAnswer();
    if (chosen_ && marked > 0) {
        Q_EMIT answered(marked);
    } else if (key == Qt::Key_Space && positionOf(focusWidget()) > 0) {
        // Nothing chosen yet: Space chooses the answer in focus, as with any option button.
        choose(positionOf(focusWidget()));
    }
}

void TestScreen::choose(int position) {
    QRadioButton* button = buttons_[position - 1];
    button->setChecked(true);
    button->setFocus();
    answerArea_->ensureWidgetVisible(button);
    chosen_ = true;
}

void TestScreen::moveMark(int step) {
    const int marked = markedAnswer();
    choose(marked == 0 ? 1 : std::clamp(marked + step, 1, kAnswers));
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
    layOutAnswers();
}

} // namespace velmora
