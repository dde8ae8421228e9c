// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/kit/program_style.h"

#include "gui/kit/high_contrast.h"
#include "gui/kit/svg_icon.h"

#include <QPainter>
#include <QStyleOption>

namespace velmora {
namespace {

constexpr int thickFocus = 3;

} // namespace

void ProgramStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                 QPainter* painter, const QWidget* widget) const {
    // The platform style draws the frame of a text box in a shade of the window's colour, which
    // is black on black in high contrast: the frame is drawn in the text's colour instead.
    if (element == PE_FrameLineEdit && HighContrast::instance().isOn()) {
        painter->save();
        painter->setPen(QPen(option->palette.text(), 1));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
        painter->restore();
        return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void ProgramStyle::drawControl(ControlElement element, const QStyleOption* option,
                               QPainter* painter, const QWidget* widget) const {
    if (element == CE_FocusFrame && HighContrast::instance().isOn()) {
        // A border only: the control shows through the frame's middle.
        const QRect border = option->rect.adjusted(0, 0, -thickFocus, -thickFocus);
        painter->save();
        painter->setPen(QPen(option->palette.highlight(), thickFocus, Qt::SolidLine, Qt::SquareCap,
                             Qt::MiterJoin));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(border.translated(thickFocus / 2, thickFocus / 2));
        painter->restore();
        return;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

int ProgramStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                              const QWidget* widget) const {
    if ((metric == PM_FocusFrameHMargin || metric == PM_FocusFrameVMargin) &&
        HighContrast::instance().isOn()) {
        return thickFocus;
    }
    return QProxyStyle::pixelMetric(metric, option, widget);
}

QIcon ProgramStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption* option,
                                 const QWidget* widget) const {
    switch (standardIcon) {
    case SP_ToolBarHorizontalExtensionButton:
    case SP_ToolBarVerticalExtensionButton:
        return svgIcon(QStringLiteral(":/icons/more.svg"));
    default:
        return QProxyStyle::standardIcon(standardIcon, option, widget);
    }
}

} // namespace velmora
