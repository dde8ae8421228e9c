// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QWidget>
#include <array>

namespace velmora {

// A histogram of the attempts' totals on one test: how many attempts scored 0–10 %, 10–20 %, …
// 90–100 % (each band closed at its lower end, the last at both). Painted, like the grade chart;
// a screen reader reads the counts from its accessible description.
class TotalsHistogram : public QWidget {
    Q_OBJECT
public:
    static constexpr int kBands = 10;
    using Counts = std::array<int, kBands>;

    explicit TotalsHistogram(QWidget* parent = nullptr);

    // The attempts' totals in percent.
    void setTotals(const QList<double>& totals);
    const Counts& counts() const { return counts_; }
    // "0–10 %: 3; 10–20 %: 0; …"
    static QString countsText(const Counts& counts);
    static Counts countsOf(const QList<double>& totals);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Counts counts_{};
};

} // namespace velmora
