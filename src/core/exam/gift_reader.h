// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/exam/bank_question.h"

#include <QStringList>

namespace velmora {

// Reads a GIFT bank: questions separated by blank lines, each on one or more lines; lines that
// begin with "//" are comments, a block beginning "$CATEGORY:" names a category. A question is
// "::title::", an optional format marker ("[html]", "[moodle]", "[plain]", "[markdown]"), its text
// and its answers in braces: "=right ~wrong", each with an optional weight "%50%" and feedback
// "#..." (dropped, as is the general feedback "####..."). "\~ \= \# \{ \} \:" and "\\" stand for
// the character itself, "\n" for a line break. Text after the braces makes a missing-word
// question; its gap is shown as "_____". A true/false question ("{T}", "{TRUE}", "{F}",
// "{FALSE}", feedback dropped) becomes its two answers. Only HTML texts ("[html]") are reduced to
// plain text; the answers take the question's format.
// Written by hand: Debian has no GIFT library.
class GiftReader {
public:
    static BankReading read(const QStringList& lines);
};

} // namespace velmora
