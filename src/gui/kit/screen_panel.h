// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFrame>

namespace velmora {

// One full-window screen of the main window: a panel with a lowered outer and a raised inner
// bevel, one pixel each, in a solid background colour. A filling panel follows its parent's size;
// the others keep the rectangle they were given.
class ScreenPanel : public QFrame {
    Q_OBJECT
public:
    static constexpr int bevelWidth = 2;

    ScreenPanel(const QString& name, const QColor& background, bool fillsParent, QWidget* parent);

    // Places `content` inside the bevels and keeps it there when the panel is resized.
    void setContent(QWidget* content);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeContent();

    bool fillsParent_;
    QWidget* content_ = nullptr;
};

} // namespace velmora
