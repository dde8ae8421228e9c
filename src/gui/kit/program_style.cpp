// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/kit/program_style.h"

#include "gui/kit/svg_icon.h"

namespace velmora {

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
