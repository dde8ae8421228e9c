// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace velmora {

// Marks of a match in a text that SQLite's highlight() has marked; the indexed text holds no
// control characters, so these cannot come from a document.
inline constexpr QChar matchStart(u'\x01');
inline constexpr QChar matchEnd(u'\x02');

// The words around the first match of a marked text as HTML: the text escaped, matches in <b>,
// "…" where the text was cut. Empty when nothing is marked.
QString snippetAroundFirstMatch(const QString& marked);

// The first marked word as it stands in the text.
QString firstMatchedWord(const QString& marked);

} // namespace velmora
