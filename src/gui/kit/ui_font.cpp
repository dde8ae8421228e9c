// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/kit/ui_font.h"

#include <QFontDatabase>
#include <QStringList>
#include <array>
#include <utility>

namespace velmora {

// The windows are laid out for these families' widths. A missing one is replaced by an installed
// family of the same or nearly the same advance widths, so that texts keep fitting the controls
// made for them: "MS Sans Serif" by Arial's metric twin (measured: "Номера вопросов" bold 16 takes
// 142 of its label's 150 pixels, where DejaVu Sans took 162), "Georgia" by ParaType's PT Serif,
// which runs about as much wider than Times as Georgia does and has every Kazakh letter. Fontconfig
// alone would pick its default family, which runs wider still, and only after Qt has searched
// every fallback for the missing name, once for each size and weight.
QString installedFamily(const QString& family) {
    static const std::array<std::pair<QLatin1StringView, QLatin1StringView>, 5> twins{{
        {QLatin1StringView("Times New Roman"), QLatin1StringView("Liberation Serif")},
        {QLatin1StringView("Arial"), QLatin1StringView("Liberation Sans")},
        {QLatin1StringView("Courier New"), QLatin1StringView("Liberation Mono")},
        {QLatin1StringView("MS Sans Serif"), QLatin1StringView("Liberation Sans")},
        {QLatin1StringView("Georgia"), QLatin1StringView("PT Serif")},
    }};
    // Windows' "MS Sans Serif" is a bitmap font, drawn at a few sizes only; its scalable twin,
    // on every Windows and under Wine, is "Microsoft Sans Serif".
    static const QString bitmapSans = QStringLiteral("MS Sans Serif");
    static const QString scalableSans = QStringLiteral("Microsoft Sans Serif");
    if (family == bitmapSans && QFontDatabase::families().contains(scalableSans)) {
        return scalableSans;
    }
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
