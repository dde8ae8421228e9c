// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace velmora {

// An icon drawn from an SVG resource at whatever size it is shown. Unlike QIcon(fileName) it
// neither loads the icon-engine plugin nor reads the file until the icon is first drawn, so the
// menus and buttons of windows that start hidden cost nothing at start-up.
QIcon svgIcon(const QString& resource);

// The SVG resource drawn into a transparent pixmap of `size` device-independent pixels; a null
// pixmap if the resource is missing or not SVG.
QPixmap renderSvg(const QString& resource, QSize size, qreal devicePixelRatio = 1.0);

// Where Qt's SVG module is missing (the Windows build), an SVG picture is drawn from its PNG twin,
// "name.svg.png" beside it, made by scripts/svg-twins at twice the picture's size.
QString svgTwinPath(const QString& svg);
QImage svgTwin(const QString& svg);

// True when this build draws SVG itself; false when it draws the PNG twins.
constexpr bool drawsSvg() {
#ifdef VELMORA_HAVE_SVG
    return true;
#else
    return false;
#endif
}

} // namespace velmora
