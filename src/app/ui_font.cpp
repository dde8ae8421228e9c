#include "app/ui_font.h"

namespace velmora {

QFont pixelFont(const QString& family, int pixelHeight, bool bold, bool italic) {
    QFont font(family);
    const bool serif =
        family.startsWith(QStringLiteral("Times")) || family == QStringLiteral("Georgia");
    font.setStyleHint(serif ? QFont::Serif : QFont::SansSerif);
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

} // namespace velmora
