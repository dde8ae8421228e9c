// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/exam/bank_question.h"

#include <QStringList>

namespace velmora {

// Reads an Aiken bank: a question's text on one or more lines (joined with blanks), its answers
// on lines "A. text" or "A) text" (a capital letter, a full stop or bracket, a blank), and a line
// "ANSWER: X" naming the correct letter, which ends the question. Blank lines are ignored. A text
// line after answers without "ANSWER:" ends that question without a correct answer.
// Written by hand: the format is a few line rules, and Debian has no library for it.
class AikenReader {
public:
    static BankReading read(const QStringList& lines);
    // True when `line` is an "ANSWER: X" line, the mark of an Aiken bank.
    static bool isAnswerKey(const QString& line);
};

} // namespace velmora
