// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace velmora::test {

// What assistive technology reads of a widget through Qt's accessibility interface: its name and,
// where it has one, its value, joined by a space.
QString accessibleText(const QWidget& w);

// Every shown control under `root` (itself included, child windows left out) that takes the
// keyboard focus and has no accessible name; one line each, naming the control by its path of
// object names and its class.
QStringList focusableWithoutName(const QWidget* root);

} // namespace velmora::test
