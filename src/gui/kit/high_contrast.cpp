// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/kit/high_contrast.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFocusFrame>
#include <QRegularExpression>
#include <QSettings>
#include <QWidget>
#include <cmath>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace velmora {
namespace {

// Where a widget keeps what it had before the look dressed it.
constexpr char savedPaletteProperty[] = "velmoraOwnPalette";
constexpr char savedStyleSheetProperty[] = "velmoraOwnStyleSheet";

constexpr QColor black(0x00, 0x00, 0x00);
constexpr QColor white(0xFF, 0xFF, 0xFF);
constexpr QColor yellow(0xFF, 0xFF, 0x00);
constexpr QColor cyan(0x00, 0xFF, 0xFF);
constexpr QColor lightGrey(0xC0, 0xC0, 0xC0); // disabled text: 12.6:1 on black

// A widget's own style sheet without its colours, which the palette gives in this look.
QString withoutColours(const QString& styleSheet) {
    static const QRegularExpression colour(
        QStringLiteral("(^|[;{\\s])(color|background|background-color)\\s*:[^;}]*;?"));
    return QString(styleSheet).replace(colour, QStringLiteral("\\1"));
}

double luminance(const QColor& colour) {
    const auto channel = [](double value) {
        return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
           0.0722 * channel(colour.blueF());
}

#ifndef Q_OS_WIN
bool namesHighContrast(const QString& theme) {
    return theme.contains(QStringLiteral("highcontrast"), Qt::CaseInsensitive) ||
           theme.contains(QStringLiteral("high-contrast"), Qt::CaseInsensitive);
}
#endif

} // namespace

HighContrast& HighContrast::instance() {
    static QPointer<HighContrast> one;
    if (one.isNull()) {
        one = new HighContrast(QCoreApplication::instance());
    }
    return *one;
}

HighContrast::HighContrast(QObject* parent) : QObject(parent) {
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { followFocus(now); });
}

QPalette HighContrast::palette() {
    QPalette p(white, black);
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const QColor text = group == QPalette::Disabled ? lightGrey : white;
        for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText,
                                QPalette::BrightText, QPalette::ToolTipText}) {
            p.setColor(group, role, text);
        }
        for (const auto role : {QPalette::Window, QPalette::Base, QPalette::AlternateBase,
                                QPalette::Button, QPalette::ToolTipBase, QPalette::Shadow}) {
            p.setColor(group, role, black);
        }
        // The bevels of buttons and frames: lines that can be seen on black.
        for (const auto role :
             {QPalette::Light, QPalette::Midlight, QPalette::Mid, QPalette::Dark}) {
            p.setColor(group, role, text);
        }
        p.setColor(group, QPalette::Highlight, yellow);
        p.setColor(group, QPalette::HighlightedText, black);
        p.setColor(group, QPalette::Link, cyan);
        p.setColor(group, QPalette::LinkVisited, yellow);
        p.setColor(group, QPalette::PlaceholderText, lightGrey);
    }
    return p;
}

double HighContrast::contrastRatio(const QColor& first, const QColor& second) {
    const double a = luminance(first);
    const double b = luminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

bool HighContrast::desktopAsks() {
#ifdef Q_OS_WIN
    HIGHCONTRASTW settings{};
    settings.cbSize = sizeof(settings);
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, settings.cbSize, &settings, 0) != 0 &&
           (settings.dwFlags & HCF_HIGHCONTRASTON) != 0;
#else
    if (namesHighContrast(qEnvironmentVariable("GTK_THEME"))) {
        return true;
    }
    const QString config =
        qEnvironmentVariable("XDG_CONFIG_HOME", QDir::homePath() + QStringLiteral("/.config"));
    const QSettings gtk(config + QStringLiteral("/gtk-3.0/settings.ini"), QSettings::IniFormat);
    const QSettings kde(config + QStringLiteral("/kdeglobals"), QSettings::IniFormat);
    return namesHighContrast(gtk.value(QStringLiteral("Settings/gtk-theme-name")).toString()) ||
           // QSettings reads an INI file's [General] section as its top level.
           namesHighContrast(kde.value(QStringLiteral("ColorScheme")).toString());
#endif
}

void HighContrast::setOn(bool on) {
    if (on == on_) {
        return;
    }
    on_ = on;
    if (on) {
        ownPalette_ = QApplication::palette();
        QApplication::setPalette(palette());
        qApp->installEventFilter(this);
        for (QWidget* widget : QApplication::allWidgets()) {
            dress(widget);
        }
        followFocus(QApplication::focusWidget());
    } else {
        qApp->removeEventFilter(this);
        delete focusFrame_;
        QApplication::setPalette(ownPalette_);
        for (QWidget* widget : QApplication::allWidgets()) {
            undress(widget);
        }
    }
    Q_EMIT switched(on);
}

void HighContrast::dress(QWidget* widget) {
    if (dressing_ || widget == focusFrame_) {
        return;
    }
    dressing_ = true;
    // Windows get the palette too, even those that take the application's: a window made before
    // the application's palette changed does not always follow it.
    const bool own = widget->testAttribute(Qt::WA_SetPalette);
    if ((own || widget->isWindow()) && widget->palette() != palette()) {
        widget->setProperty(savedPaletteProperty,
                            own ? QVariant::fromValue(widget->palette()) : QVariant(true));
        widget->setPalette(palette());
    }
    const QString sheet = widget->styleSheet();
    const QString plain = withoutColours(sheet);
    if (plain != sheet) {
        widget->setProperty(savedStyleSheetProperty, sheet);
        widget->setStyleSheet(plain);
    }
    dressing_ = false;
}

void HighContrast::undress(QWidget* widget) {
    const QVariant ownPalette = widget->property(savedPaletteProperty);
    if (ownPalette.metaType() == QMetaType::fromType<QPalette>()) {
        widget->setPalette(ownPalette.value<QPalette>());
    } else if (ownPalette.isValid()) {
        widget->setPalette(QPalette()); // the application's again
    }
    widget->setProperty(savedPaletteProperty, QVariant());
    const QVariant ownSheet = widget->property(savedStyleSheetProperty);
    if (ownSheet.isValid()) {
        widget->setStyleSheet(ownSheet.toString());
        widget->setProperty(savedStyleSheetProperty, QVariant());
    }
}

bool HighContrast::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Polish:
    case QEvent::PaletteChange:
    case QEvent::StyleChange:
        // A widget made now, or one that set its own colours again while the look is on.
        if (watched->isWidgetType()) {
            dress(static_cast<QWidget*>(watched));
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void HighContrast::followFocus(QWidget* now) {
    if (!on_ || now == nullptr || now->isWindow()) {
        if (focusFrame_ != nullptr) {
            focusFrame_->setWidget(nullptr);
        }
        return;
    }
    if (focusFrame_.isNull()) {
        focusFrame_ = new QFocusFrame(now);
        focusFrame_->setObjectName(QStringLiteral("focusFrame"));
    }
    focusFrame_->setWidget(now);
}

} // namespace velmora
