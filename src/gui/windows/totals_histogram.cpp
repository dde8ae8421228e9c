// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/windows/totals_histogram.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace velmora {
namespace {

constexpr int kMargin = 8;
constexpr int kBandWidth = 10; // percent

} // namespace

TotalsHistogram::TotalsHistogram(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("totalsHistogram"));
    setAccessibleName(QStringLiteral("Распределение результатов"));
    setAccessibleDescription(countsText(counts_));
    setMinimumSize(220, 150);
}

TotalsHistogram::Counts TotalsHistogram::countsOf(const QList<double>& totals) {
    Counts counts{};
    for (const double total : totals) {
        const int band =
            std::clamp(static_cast<int>(std::floor(total / kBandWidth)), 0, kBands - 1);
        ++counts[static_cast<size_t>(band)];
    }
    return counts;
}

QString TotalsHistogram::countsText(const Counts& counts) {
    QStringList parts;
    for (int band = 0; band < kBands; ++band) {
        parts.append(QStringLiteral("%1–%2 %: %3")
                         .arg(band * kBandWidth)
                         .arg((band + 1) * kBandWidth)
                         .arg(counts[static_cast<size_t>(band)]));
    }
    return parts.join(QStringLiteral("; "));
}

void TotalsHistogram::setTotals(const QList<double>& totals) {
    counts_ = countsOf(totals);
    setAccessibleDescription(countsText(counts_));
    update();
}

QSize TotalsHistogram::sizeHint() const {
    return {300, 180};
}

void TotalsHistogram::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    const int line = fontMetrics().height();
    painter.setPen(palette().text().color());
    painter.drawText(QRect(kMargin, kMargin, width() - 2 * kMargin, line), Qt::AlignLeft,
                     accessibleName());
    const int top = kMargin + 2 * line;
    const int bottom = height() - kMargin - line;
    const int slot = (width() - 2 * kMargin) / kBands;
    const int highest = std::max(1, *std::max_element(counts_.begin(), counts_.end()));
    for (int band = 0; band < kBands; ++band) {
        const int count = counts_[static_cast<size_t>(band)];
        const int barHeight = (bottom - top) * count / highest;
        const QRect bar(kMargin + band * slot + 1, bottom - barHeight, slot - 2, barHeight);
        painter.fillRect(bar, palette().highlight());
        if (count > 0) {
            painter.drawText(QRect(bar.left(), bar.top() - line, slot, line), Qt::AlignHCenter,
                             QString::number(count));
        }
        if (band % 2 == 0) {
            painter.drawText(QRect(kMargin + band * slot, bottom, 2 * slot, line), Qt::AlignLeft,
                             QString::number(band * kBandWidth));
        }
    }
    painter.drawLine(kMargin, bottom, width() - kMargin, bottom);
}

} // namespace velmora
