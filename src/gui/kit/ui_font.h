// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QString>

namespace velmora {

// A font of the named family whose characters are `pixelHeight` pixels high. Where "Times New
// Roman", "Arial" or "Courier New" is missing, the font is of its metric-compatible Liberation
// family (Debian's fonts-liberation2, which also has every Kazakh letter); other missing families
// fall back through fontconfig, and the style hint keeps serif families serif.
QFont pixelFont(const QString& family, int pixelHeight, bool bold = false, bool italic = false);

// The family a font named `family` asks for here: the named one, or where "Times New Roman",
// "Arial" or "Courier New" is missing, its installed Liberation twin.
QString installedFamily(const QString& family);

} // namespace velmora
