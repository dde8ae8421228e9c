// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProxyStyle>

namespace velmora {

// The platform's style, with the program's own pictures where Qt would draw one of its bitmaps
// (the menu bar's button for the entries a narrow window cannot show). Reading those bitmaps
// loads every image-format plugin, which would otherwise delay the title page.
class ProgramStyle : public QProxyStyle {
public:
    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};

} // namespace velmora
