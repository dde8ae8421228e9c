// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProxyStyle>

namespace velmora {

// The platform's style, with the program's own pictures where Qt would draw one of its bitmaps
// (the menu bar's button for the entries a narrow window cannot show). Reading those bitmaps
// loads every image-format plugin, which would otherwise delay the title page. In the
// high-contrast look the frame around the control with the focus is thick and yellow.
class ProgramStyle : public QProxyStyle {
public:
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};

} // namespace velmora
