// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace velmora {

// The two answers a true/false question of a bank becomes, the statement's truth first.
inline QString trueAnswer() {
    return QStringLiteral("Верно");
}
inline QString falseAnswer() {
    return QStringLiteral("Неверно");
}

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
    bool trueFalse = false;      // a true/false question, read as its two answers
    // The pictures, sounds and other files left out of its texts, each named once (by its file
    // name, or its address); an empty name for one the bank gives no name.
    QStringList droppedFiles;

    // Makes it a true/false question: the answers trueAnswer() and falseAnswer(), with the
    // credits the bank gives the statement being true and being false.
    void setTrueFalse(double trueFraction, double falseFraction) {
        trueFalse = true;
        otherKind.clear();
        answers = {{trueAnswer(), trueFraction}, {falseAnswer(), falseFraction}};
    }
    void dropFile(const QString& name) {
        if (!droppedFiles.contains(name)) {
            droppedFiles.append(name);
        }
    }
};

// What a reader made of a bank: its questions in order, and what it could not read at all.
struct BankReading {
    QList<BankQuestion> questions;
    QStringList warnings;
};

} // namespace velmora
