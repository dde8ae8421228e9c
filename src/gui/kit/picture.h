// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QString>

class QLabel;
class QWidget;

namespace velmora {

// A picture from the resources, stretched to `rect`, with an accessible name for screen readers.
QLabel* addPicture(QWidget* parent, const QString& resource, const QRect& rect,
                   const QString& accessibleName);

// A label of its natural size at `position`; its text is also its accessible name.
QLabel* addLabel(QWidget* parent, const QString& name, const QString& text, const QFont& font,
                 const QPoint& position);

} // namespace velmora
