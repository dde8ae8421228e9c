// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/screens/answer_button.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <algorithm>
#include <limits>

namespace velmora {
namespace {

// The button's height with one line of text, as laid out.
constexpr int kLineHeight = 17;
constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

} // namespace

AnswerButton::AnswerButton(QWidget* parent) : QRadioButton(parent) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::MinimumExpanding);
}

int AnswerButton::textLeft() const {
    return style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, this) +
           style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, this);
}

QRect AnswerButton::textRect(int width) const {
    const int left = textLeft();
    const QRect room(left, 0, std::max(width - left, 1), std::numeric_limits<int>::max() / 2);
    const int textHeight = fontMetrics().boundingRect(room, kTextFlags, text()).height();
    return {left, 0, room.width(), std::max(textHeight, fontMetrics().height())};
}

int AnswerButton::heightForWidth(int width) const {
    return std::max(kLineHeight, textRect(width).height());
}

QSize AnswerButton::sizeHint() const {
    const int oneLine = textLeft() + fontMetrics().horizontalAdvance(text());
    return {oneLine, heightForWidth(std::max(width(), 1))};
}

bool AnswerButton::hitButton(const QPoint& pos) const {
    return rect().contains(pos);
}

void AnswerButton::paintEvent(QPaintEvent* /*event*/) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    option.state &= ~QStyle::State_HasFocus; // the focus frame goes round the text, below
    // The round mark stays beside the first line.
    const int indicator = style()->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight, &option, this);
    option.rect = QRect(0, 0, width(), std::max(fontMetrics().height(), indicator));
    painter.drawControl(QStyle::CE_RadioButton, option);

    const QRect textArea = textRect(width());
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(textArea, kTextFlags, text());
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = textArea.adjusted(-1, 0, 1, 0).intersected(rect());
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

} // namespace velmora
