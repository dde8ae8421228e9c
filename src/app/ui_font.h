#pragma once

#include <QFont>
#include <QString>

namespace velmora {

// A font of the named family whose characters are `pixelHeight` pixels high. Families missing on
// the machine fall back to a metric-compatible one (fontconfig maps "Times New Roman" and "Arial"
// to Liberation Serif and Liberation Sans); the style hint keeps serif families serif.
QFont pixelFont(const QString& family, int pixelHeight, bool bold = false, bool italic = false);

} // namespace velmora
