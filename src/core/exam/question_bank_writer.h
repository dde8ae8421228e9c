// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/exam/question.h"
#include "core/exam/question_bank.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace velmora {

// Writes a test's questions as a question bank another system imports: Aiken, GIFT or Moodle XML,
// in UTF-8. Each question keeps its text, its answers in their order without the "A)" the test
// file holds, and its correct answer; empty answers after the last given one are left out, down
// to two (a single answer would read as a short-answer question). GIFT
// and Moodle XML name each question "Вопрос N" and put all of them in one category named after
// the test; Moodle XML marks them single-answer, unshuffled, the correct answer worth 100 and the
// others 0. A question whose answers are exactly trueAnswer() and falseAnswer(), in that order,
// is written as true/false in GIFT ("{T}", "{F}") and Moodle XML (type "truefalse", the answers
// "true" and "false"). A text with "<", ">" or "&", or one beginning with "[" or "%", is written as
// HTML in GIFT (a first "[" or "%" as a character reference, so that it reads as no format marker
// and no weight), so the platform shows it as written; in Moodle XML every text is HTML. What a
// format cannot hold is named in a warning by the question's number instead of being written
// wrongly: Aiken cannot hold a question that begins as an answer line ("A)", "B.") or as the
// "ANSWER:" line, which is left out; no format keeps runs of blanks, tabs and no-break spaces,
// which are written as one blank.
class QuestionBankWriter {
public:
    struct Result {
        QByteArray text;
        // Questions left out (no text, no correct answer, a text the format cannot hold) and
        // questions written with their white space reduced.
        QStringList warnings;
        int written = 0;
    };

    static Result write(const QList<Question>& questions, BankFormat format,
                        const QString& testName);
    // The text of a stored answer of `position` (1 ... 5): its "A)" and the blanks around it
    // removed (the correct answer's mark left a blank at its end).
    static QString answerText(const QString& stored, int position);
};

} // namespace velmora
