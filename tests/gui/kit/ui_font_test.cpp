// SPDX-License-Identifier: GPL-3.0-or-later
// Fonts of the windows: the Windows families they name are drawn in installed families of the
// same widths, texts fit the rectangles the windows give them, and Kazakh text is drawn in one
// face, with no letter taken from a fallback font.

#include "gui/kit/ui_font.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
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

TEST(UiFont, AMissingWindowsFamilyIsAskedForByItsTwin) {
    const QStringList installed = QFontDatabase::families();
    const std::array<std::pair<const char*, const char*>, 5> twins{{
        {"Times New Roman", "Liberation Serif"},
        {"Arial", "Liberation Sans"},
        {"Courier New", "Liberation Mono"},
        {"MS Sans Serif", "Liberation Sans"},
        {"Georgia", "PT Serif"},
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
    EXPECT_EQ(pixelFont(QStringLiteral("Tahoma"), 11).family(), QStringLiteral("Tahoma"));
    EXPECT_EQ(pixelFont(QStringLiteral("Times New Roman"), 19).styleHint(), QFont::Serif);
    EXPECT_EQ(pixelFont(QStringLiteral("Georgia"), 19).styleHint(), QFont::Serif);
}

// The widest fixed texts against the widths the windows lay them out in: a twin that runs wider
// than the family it stands for cuts them.
TEST(UiFont, TheWidestTextsFitTheirRectangles) {
    struct Row {
        const char* family;
        int pixels;
        bool italic;
        const char* text;
        int width;
    };
    const Row rows[] = {
        {"MS Sans Serif", 16, false, "Номера вопросов", 150},
        {"MS Sans Serif", 19, false, "Выделение ответа двойным нажатием клавиш мыши!!!", 930 - 344},
        {"Georgia", 19, true, "Егер сіз тіркелген болсаңыз, басыңыз:", 402},
        {"Georgia", 19, true, "Қолданушы", 195 - 27},
    };
    for (const Row& row : rows) {
        const QFont font = pixelFont(QString::fromLatin1(row.family), row.pixels, true, row.italic);
        EXPECT_LE(QFontMetrics(font).horizontalAdvance(QString::fromUtf8(row.text)), row.width)
            << row.text << " in " << QFontInfo(font).family().toStdString();
    }
}

TEST(UiFont, KazakhTextIsDrawnInOneFace) {
    const QString kazakh = QStringLiteral("Әдістемелік құрал: Ақпараттық жүйелер, өңдеу, ұғым, һ");
    for (const bool bold : {false, true}) {
        for (const char* family : {"Times New Roman", "Arial", "Georgia"}) {
            const QStringList faces =
                facesOf(kazakh, pixelFont(QString::fromLatin1(family), 19, bold));
            EXPECT_EQ(faces.size(), 1)
                << family << " is drawn in " << faces.join(QStringLiteral(", ")).toStdString()
                << ": the fonts installed lack Kazakh letters (install fonts-liberation2 and"
                   " fonts-paratype; with fonts-liberation beside them Qt may choose either)";
        }
    }
}

} // namespace
} // namespace velmora::test
