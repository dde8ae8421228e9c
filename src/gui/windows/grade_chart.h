// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>
#include <array>

namespace velmora {

// A bar chart of how many students have each grade 1 … 5 in one test. Painted here rather than
// with Qt Charts: five labelled bars are a few lines of QPainter, and the program keeps its one
// set of libraries and its start-up.
class GradeChart : public QWidget {
    Q_OBJECT
public:
    explicit GradeChart(QWidget* parent = nullptr);

    // Students per grade 1 … 5 (element 0 unused) and the caption above the bars.
    void setCounts(const std::array<int, 6>& counts, const QString& caption);
    const std::array<int, 6>& counts() const { return counts_; }
    const QString& caption() const { return caption_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::array<int, 6> counts_{};
    QString caption_;
};

} // namespace velmora
