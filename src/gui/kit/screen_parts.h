// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QLabel;
class QLineEdit;
class QToolButton;
class QWidget;

// Building blocks of the sign-in and administrator screens: controls placed at fixed pixel
// positions (fonts by character height in pixels come from app/ui_font.h).
namespace velmora::screen_parts {

// A label at `position`, sized to its text.
QLabel* label(QWidget* parent, const QString& text, QPoint position, const QFont& font,
              const QColor& colour = Qt::black);

enum class Echo { Normal, Password };

// A text box; the label's text becomes the box's accessible name, and the label its buddy.
// A password box shows "*" for every character.
QLineEdit* textBox(QWidget* parent, const QString& name, const QRect& geometry, const QFont& font,
                   QLabel* label, Echo echo = Echo::Normal);

// A flat button with a picture beside its text. Like every flat button of the program it takes
// no keyboard focus, so the boxes alone make the tab order.
QToolButton* flatButton(QWidget* parent, const QString& name, const QString& text,
                        const QRect& geometry, const QFont& font, const QString& picture);

// A picture of the screens' own resources, rendered at `size`.
QLabel* picture(QWidget* parent, const QString& name, const QRect& geometry, const QString& picture,
                const QString& accessibleName);

} // namespace velmora::screen_parts
