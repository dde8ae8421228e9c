// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/windows/grade_chart.h"

#include <QPainter>
#include <algorithm>

namespace velmora {
namespace {

constexpr int kGrades = 5;
constexpr int kMargin = 8;

// The grade colours of the journal's cells, a shade darker for bars.
QColor barColour(int grade) {
    if (grade <= 2) {
        return QColor(0xe5, 0x73, 0x73);
    }
    return grade == 3 ? QColor(0xe6, 0xc2, 0x3c) : QColor(0x66, 0xbb, 0x6a);
}

} // namespace

GradeChart::GradeChart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("gradeChart"));
    setMinimumSize(220, 150);
}

void GradeChart::setCounts(const std::array<int, 6>& counts, const QString& caption) {
    counts_ = counts;
    caption_ = caption;
    setAccessibleName(caption);
    update();
}

QSize GradeChart::sizeHint() const {
    return {280, 180};
}

void GradeChart::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    const QFontMetrics metrics = fontMetrics();
    const int line = metrics.height();
    painter.setPen(palette().text().color());
    painter.drawText(QRect(kMargin, kMargin, width() - 2 * kMargin, line), Qt::AlignLeft, caption_);
    const int top = kMargin + 2 * line;
    const int bottom = height() - kMargin - line;
    const int slot = (width() - 2 * kMargin) / kGrades;
    const int highest = std::max(1, *std::max_element(counts_.begin() + 1, counts_.end()));
    for (int grade = 1; grade <= kGrades; ++grade) {
        const int count = counts_[static_cast<size_t>(grade)];
        const int barHeight = (bottom - top) * count / highest;
        const QRect bar(kMargin + (grade - 1) * slot + slot / 5, bottom - barHeight, slot * 3 / 5,
                        barHeight);
        painter.fillRect(bar, barColour(grade));
        painter.drawText(QRect(bar.left() - slot / 5, bar.top() - line, slot, line),
                         Qt::AlignHCenter, QString::number(count));
        painter.drawText(QRect(bar.left() - slot / 5, bottom, slot, line), Qt::AlignHCenter,
                         QString::number(grade));
    }
    painter.drawLine(kMargin, bottom, width() - kMargin, bottom);
}

} // namespace velmora
