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
    // True when `line` is an "ANSWER: X" line, the mark of an Aiken bank (any letter case).
    static bool isAnswerKey(const QString& line);
    // True when `line` reads as an answer line: "A." or "A)" alone or before a blank.
    static bool isAnswerLine(const QString& line);
    // True when every line has its place in an Aiken bank of at least one question: each question
    // text, then its answers, then its "ANSWER:" line; blank lines anywhere.
    static bool readsWhole(const QStringList& lines);
};

} // namespace velmora
