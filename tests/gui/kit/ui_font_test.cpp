// SPDX-License-Identifier: GPL-3.0-or-later
// Fonts of the windows: the Windows families they name are drawn in their metric-compatible
// Liberation families, and Kazakh text in one face, with no letter taken from a fallback font.

#include "gui/kit/ui_font.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QGlyphRun>
#include <QRawFont>
#include <QTextLayout>
#include <gtest/gtest.h>

namespace velmora::test {
namespace {

// The faces a line of text is drawn in.
QStringList facesOf(const QString& text, const QFont& font) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    QStringList faces;
    for (const QGlyphRun& run : layout.glyphRuns()) {
        faces << run.rawFont().familyName() + QLatin1Char(' ') + run.rawFont().styleName();
    }
    faces.removeDuplicates();
    return faces;
}

TEST(UiFont, AMissingWindowsFamilyIsAskedForByItsLiberationTwin) {
    const QStringList installed = QFontDatabase::families();
    const std::array<std::pair<const char*, const char*>, 3> twins{{
        {"Times New Roman", "Liberation Serif"},
        {"Arial", "Liberation Sans"},
        {"Courier New", "Liberation Mono"},
    }};
    for (const auto& [windows, liberation] : twins) {
        const QString family = QString::fromLatin1(windows);
        const QFont font = pixelFont(family, 19, true);
        EXPECT_EQ(font.pixelSize(), 19);
        EXPECT_TRUE(font.bold());
        if (installed.contains(family)) {
            EXPECT_EQ(font.family(), family);
        } else {
            EXPECT_EQ(font.family(), QString::fromLatin1(liberation)) << windows;
            EXPECT_EQ(QFontInfo(font).family(), QString::fromLatin1(liberation)) << windows;
        }
    }
    // Families without a twin are asked for by their own name.
    EXPECT_EQ(pixelFont(QStringLiteral("MS Sans Serif"), 11).family(),
              QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(pixelFont(QStringLiteral("Times New Roman"), 19).styleHint(), QFont::Serif);
}

TEST(UiFont, KazakhTextIsDrawnInOneFace) {
    const QString kazakh = QStringLiteral("Әдістемелік құрал: Ақпараттық жүйелер, өңдеу, ұғым, һ");
    for (const bool bold : {false, true}) {
        for (const char* family : {"Times New Roman", "Arial"}) {
            const QStringList faces =
                facesOf(kazakh, pixelFont(QString::fromLatin1(family), 19, bold));
            EXPECT_EQ(faces.size(), 1)
                << family << " is drawn in " << faces.join(QStringLiteral(", ")).toStdString()
                << ": the Liberation fonts installed lack Kazakh letters (install "
                   "fonts-liberation2;"
                   " with fonts-liberation beside it Qt may choose either)";
        }
    }
}

} // namespace
} // namespace velmora::test
