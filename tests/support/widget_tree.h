// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace velmora::test {

// A readable text of a widget and everything under it, one line per widget, children indented
// under their parent in the parent's child order (creation order as changed by raise and lower:
// back to front). A line holds the class, the object name, the geometry, the flags that differ
// from a plain widget's, the text the user sees, the accessible name, and the font, colours and
// style sheet set on that widget itself. A menu bar or menu lists its actions instead of its
// popup widgets. Qt's own helpers ("qt_*" objects) are left out unless the program named them
// for assistive technology; child windows are left out.
QString dumpWidgetTree(const QWidget* root);

// Every visible control under `root` (itself included) whose text does not fit it (neither fits
// on its lines nor wraps within the control's height), or whose text is clipped by a widget around
// it; one line each, naming the control by its path of object names (class names where it has
// none).
QStringList textsThatDoNotFit(const QWidget* root);

// Every widget under `root` (itself, hidden ones and child windows included) that would show one
// of the `planted` texts as markup: a label taking it as rich text, a tooltip of a widget or of a
// cell of an item view that Qt would take for rich text. One line each, naming the widget by its
// path of object names. A text escaped into rich text is not the planted text and is fine.
QStringList textsShownAsMarkup(const QWidget* root, const QStringList& planted);

// A tooltip as the user reads it: rich text rendered to its plain text, plain text as it is.
QString toolTipAsRead(const QString& toolTip);

// Compares `dump` with tests/golden/<name>.txt of the source tree and fails with a diff of the
// first differing lines. With VELMORA_UPDATE_GOLDEN=1 in the environment the file is rewritten
// instead and the test passes with a note.
void expectMatchesGolden(const QString& name, const QString& dump);

} // namespace velmora::test
