// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace velmora {

// One question as a question bank (Aiken, GIFT, Moodle XML) holds it, read but not yet judged:
// QuestionBank decides from it whether the question can become one of ours.
struct BankQuestion {
    struct Answer {
        QString text;
        double fraction = 0; // the credit in per cent: 100 correct, 0 wrong, else partial
    };

    int number = 0; // its place among the bank's questions, from 1
    QString title;  // the bank's name of it; may be empty
    QString text;   // plain text on one line
    QList<Answer> answers;
    // Why it is not a single-answer multiple-choice question ("вопрос «верно/неверно»", ...);
    // empty when it is one.
    QString otherKind;
    bool severalAllowed = false; // the bank lets a student choose several answers
    bool filesDropped = false;   // pictures or other files were left out of its texts
};

// What a reader made of a bank: its questions in order, and what it could not read at all.
struct BankReading {
    QList<BankQuestion> questions;
    QStringList warnings;
};

} // namespace velmora
