// SPDX-License-Identifier: GPL-3.0-or-later
// The high-contrast look's colours and when the desktop asks for it.

#include "gui/kit/high_contrast.h"
#include "support/temp_folder.h"

#include <QDir>
#include <gtest/gtest.h>

namespace velmora::test {
namespace {

TEST(HighContrastColours, RatiosAsTheGuidelinesDefineThem) {
    struct Row {
        QColor ink, ground;
        double ratio;
    };
    const Row rows[] = {
        {Qt::black, Qt::white, 21.0},
        {Qt::white, Qt::black, 21.0},
        {QColor(0x77, 0x77, 0x77), Qt::white, 4.48},
        {QColor(0x00, 0xFF, 0x00), QColor(0x00, 0x80, 0x80), 3.48}, // the title page
        {Qt::yellow, Qt::yellow, 1.0},
    };
    for (const Row& row : rows) {
        EXPECT_NEAR(HighContrast::contrastRatio(row.ink, row.ground), row.ratio, 0.01)
            << row.ink.name().toStdString() << " on " << row.ground.name().toStdString();
    }
}

// Every text role of the look against each ground it is drawn on, in every state of a window.
TEST(HighContrastColours, EveryTextOfThePaletteIsSevenToOneOnItsGround) {
    const QPalette p = HighContrast::palette();
    const std::pair<QPalette::ColorRole, QPalette::ColorRole> pairs[] = {
        {QPalette::WindowText, QPalette::Window},
        {QPalette::Text, QPalette::Base},
        {QPalette::Text, QPalette::AlternateBase},
        {QPalette::ButtonText, QPalette::Button},
        {QPalette::ToolTipText, QPalette::ToolTipBase},
        {QPalette::HighlightedText, QPalette::Highlight},
        {QPalette::Link, QPalette::Base},
        {QPalette::LinkVisited, QPalette::Base},
        {QPalette::PlaceholderText, QPalette::Base},
        {QPalette::BrightText, QPalette::Window},
    };
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        for (const auto& [ink, ground] : pairs) {
            EXPECT_GE(HighContrast::contrastRatio(p.color(group, ink), p.color(group, ground)), 7.0)
                << "group " << group << ", role " << ink << " on " << ground;
        }
    }
}

#ifndef Q_OS_WIN
// The desktop's wish, from the places GTK and KDE keep their theme.
TEST(HighContrastDesktop, AThemeNamedForHighContrastAsksForIt) {
    struct Row {
        const char* gtkTheme;
        const char* gtkSettings;
        const char* kdeGlobals;
        bool asks;
    };
    const Row rows[] = {
        {"", "", "", false},
        {"HighContrast", "", "", true},
        {"Adwaita:dark", "", "", false},
        {"", "[Settings]\ngtk-theme-name=HighContrastInverse\n", "", true},
        {"", "[Settings]\ngtk-theme-name=Adwaita\n", "", false},
        {"", "", "[General]\nColorScheme=BreezeHighContrast\n", true},
        {"", "", "[General]\nColorScheme=BreezeLight\n", false},
    };
    const QByteArray oldTheme = qgetenv("GTK_THEME");
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    for (const Row& row : rows) {
        TempFolder config;
        QDir(config.path()).mkpath(QStringLiteral("gtk-3.0"));
        config.write(QStringLiteral("gtk-3.0/settings.ini"), row.gtkSettings);
        config.write(QStringLiteral("kdeglobals"), row.kdeGlobals);
        qputenv("GTK_THEME", row.gtkTheme);
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
        EXPECT_EQ(HighContrast::desktopAsks(), row.asks)
            << row.gtkTheme << "|" << row.gtkSettings << "|" << row.kdeGlobals;
    }
    qputenv("GTK_THEME", oldTheme);
    qputenv("XDG_CONFIG_HOME", oldConfig);
}
#endif

} // namespace
} // namespace velmora::test
