// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/kit/screen_panel.h"

#include <QEvent>
#include <QPainter>

namespace velmora {
namespace {

// A one-pixel bevel along the rectangle's edges: `topLeft` on the top and left, `bottomRight` on
// the bottom and right.
void drawBevel(QPainter& painter, const QRect& r, const QColor& topLeft,
               const QColor& bottomRight) {
    painter.setPen(topLeft);
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(bottomRight);
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
}

} // namespace

ScreenPanel::ScreenPanel(const QString& name, const QColor& background, bool fillsParent,
                         QWidget* parent)
    : QFrame(parent), fillsParent_(fillsParent) {
    setObjectName(name);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, background);
    setPalette(p);
    if (fillsParent_ && parent != nullptr) {
        parent->installEventFilter(this);
        setGeometry(parent->rect());
    }
}

void ScreenPanel::setContent(QWidget* content) {
    content_ = content;
    content_->setParent(this);
    placeContent();
    content_->show();
}

void ScreenPanel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QPalette& p = palette();
    const QRect outer = rect().adjusted(0, 0, -1, -1);
    drawBevel(painter, outer, p.color(QPalette::Dark), p.color(QPalette::Light));
    drawBevel(painter, outer.adjusted(1, 1, -1, -1), p.color(QPalette::Light),
              p.color(QPalette::Dark));
}

bool ScreenPanel::eventFilter(QObject* watched, QEvent* event) {
    if (fillsParent_ && watched == parentWidget() && event->type() == QEvent::Resize) {
        setGeometry(parentWidget()->rect());
        // A hidden panel gets its resize event only when shown; its content follows now.
        placeContent();
    }
    return QFrame::eventFilter(watched, event);
}

void ScreenPanel::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    placeContent();
}

void ScreenPanel::placeContent() {
    if (content_ != nullptr) {
        content_->setGeometry(rect().adjusted(bevelWidth, bevelWidth, -bevelWidth, -bevelWidth));
    }
}

} // namespace velmora
