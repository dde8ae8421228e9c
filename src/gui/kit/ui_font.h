// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QString>

namespace velmora {

// A font of the named family whose characters are `pixelHeight` pixels high. Where a family the
// windows name is missing, the font is of its installed twin (installedFamily); other missing
// families fall back through fontconfig, and the style hint keeps serif families serif.
QFont pixelFont(const QString& family, int pixelHeight, bool bold = false, bool italic = false);

// The family a font named `family` asks for here: the named one, or where it is missing, its
// installed twin of the same widths: "Times New Roman", "Arial", "Courier New" and "MS Sans Serif"
// by the Liberation families (Debian's fonts-liberation2, with every Kazakh letter), "Georgia" by
// PT Serif (fonts-paratype).
QString installedFamily(const QString& family);

} // namespace velmora
