// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/kit/ui_font.h"

#include <QFontDatabase>
#include <QStringList>
#include <array>
#include <utility>

namespace velmora {

// Fontconfig would substitute the same Liberation family, but only after Qt has searched every
// fallback for the missing name, once for each size and weight.
QString installedFamily(const QString& family) {
    static const std::array<std::pair<QLatin1StringView, QLatin1StringView>, 3> twins{{
        {QLatin1StringView("Times New Roman"), QLatin1StringView("Liberation Serif")},
        {QLatin1StringView("Arial"), QLatin1StringView("Liberation Sans")},
        {QLatin1StringView("Courier New"), QLatin1StringView("Liberation Mono")},
    }};
    for (const auto& [windows, liberation] : twins) {
        if (family == windows) {
            const QStringList installed = QFontDatabase::families();
            if (!installed.contains(family) && installed.contains(liberation)) {
                return liberation;
            }
        }
    }
    return family;
}

QFont pixelFont(const QString& family, int pixelHeight, bool bold, bool italic) {
    QFont font(installedFamily(family));
    const bool serif =
        family.startsWith(QStringLiteral("Times")) || family == QStringLiteral("Georgia");
    font.setStyleHint(serif ? QFont::Serif : QFont::SansSerif);
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

} // namespace velmora
