// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/course/course_book.h"
#include "core/exam/question.h"

#include <QList>
#include <QString>
#include <array>
#include <functional>

namespace velmora {

// Where each shown answer of a question comes from: shown position i + 1 holds the file's answer
// at position order[i] (1 … 5).
using AnswerOrder = std::array<int, kAnswersPerQuestion>;

// What one attempt of a test asks: the test file's sections in asking order and the order each
// shows its answers in. Everything follows from the seed, the settings and the file, so the same
// seed gives the same attempt on any machine: the numbers come from a generator of our own, not
// from the standard library's distributions, whose results differ between libraries.
struct AttemptPlan {
    quint64 seed = 0;
    QList<int> sections;       // the file's question numbers, in the order they are asked
    QList<AnswerOrder> orders; // one per asked question

    // The plan of an attempt at a test whose file holds `held` questions ("vsego"). `emptyAnswers`
    // tells, for a section, which of its five answers are empty: they keep their places and only
    // the others change places among themselves.
    static AttemptPlan
    make(quint64 seed, int held, const TestSettings& settings,
         const std::function<std::array<bool, kAnswersPerQuestion>(int)>& emptyAnswers);
    // The identity order: every answer where the file has it.
    static AnswerOrder fileOrder();

    // The question as shown: answers in the plan's order of question `asked` (0-based), each
    // answer's leading file letter ("C)") replaced by the letter it is shown against, and "ap"
    // turned into the shown position of the correct answer.
    static Question shown(const Question& inFile, const AnswerOrder& order);
    // The file position of shown position `position` (1 … 5); 0 for any other position.
    static int filePosition(const AnswerOrder& order, int position);

    friend bool operator==(const AttemptPlan&, const AttemptPlan&) = default;
};

// A fresh seed for a new attempt.
quint64 newAttemptSeed();

// The seed as the answer log and the attempt file write it: 16 lower-case hexadecimal digits.
QString seedText(quint64 seed);

} // namespace velmora
