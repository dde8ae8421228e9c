// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace velmora {

// The FTS5 MATCH expression for what a user typed: every word must match, letter case ignored; a
// word also matches longer words beginning with it (a prefix query: Kazakh and Russian words change
// their endings); a "quoted phrase" matches as a phrase (an unmatched quote runs to the end). Any
// text at all (quotes, *, -, AND, OR, NOT, NEAR, brackets, colons, 2,000 characters, only blanks,
// any script) is a search for the words in it, never an FTS5 syntax error: every word is emitted as
// a quoted FTS5 string. Empty when the text holds no word.
QString matchExpression(const QString& typed);

} // namespace velmora
