// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPalette>
#include <QPointer>

class QFocusFrame;
class QWidget;

namespace velmora {

// The high-contrast look of every window: white text on black, yellow for what is selected or
// has the focus, cyan links, and a thick yellow frame around the control with the focus. Windows
// made while it is on get it as they are first shown; colours that a window set for itself are
// put back when it is switched off.
class HighContrast : public QObject {
    Q_OBJECT
public:
    // The application's one instance.
    static HighContrast& instance();

    bool isOn() const { return on_; }
    void setOn(bool on);

    // The palette of the look: every text colour at least 7:1 against its background.
    static QPalette palette();
    // The contrast ratio of two colours as the Web Content Accessibility Guidelines define it,
    // from 1 (the same luminance) to 21 (black and white).
    static double contrastRatio(const QColor& first, const QColor& second);
    // Whether the desktop asks programs for high contrast: the Windows setting; elsewhere a GTK
    // or KDE theme whose name says so.
    static bool desktopAsks();

Q_SIGNALS:
    void switched(bool on);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit HighContrast(QObject* parent);
    void dress(QWidget* widget);
    static void undress(QWidget* widget);
    void followFocus(QWidget* now);

    bool on_ = false;
    bool dressing_ = false;
    QPalette ownPalette_; // the application's palette before the look was switched on
    QPointer<QFocusFrame> focusFrame_;
};

} // namespace velmora
