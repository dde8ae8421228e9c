// SPDX-License-Identifier: GPL-3.0-or-later
// The floor window: the title page's size and teal, centred on the screen.
#pragma once

#include <QScreen>
#include <QWidget>

inline void makeFloorWindow(QWidget& window) {
    window.setFixedSize(612, 655);
    window.setAutoFillBackground(true);
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, QColor(0x00, 0x80, 0x80));
    window.setPalette(palette);
    window.move(window.screen()->availableGeometry().center() - window.rect().center());
}
