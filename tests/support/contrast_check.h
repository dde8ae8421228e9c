// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

class QWidget;

namespace velmora::test {

// Every text shown under `root` (itself included, child windows left out) whose colour stands out
// from its ground by less than `minimum` (a contrast ratio, 1 to 21): labels, buttons, boxes,
// lists and tables with the colours their cells ask for, menus and tabs. Colours a widget sets
// through a style sheet cannot be read from its palette, so such a widget is named as well. One
// line each: where, the text and the ratio.
QStringList lowContrastTexts(const QWidget& root, double minimum);

} // namespace velmora::test
