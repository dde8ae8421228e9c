// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/exam/test_shape.h"

#include <QChar>
#include <QString>
#include <array>
#include <optional>

namespace velmora {

// Key and section names of a test file. Section "1" ... "N" holds one question each; section
// "inf" holds the number of questions to ask.
namespace testkeys {
inline QString question() {
    return QStringLiteral("q");
}
// "a1" ... "a5" for positions 1 ... 5.
inline QString answer(int position) {
    return QStringLiteral("a%1").arg(position);
}
inline QString position() {
    return QStringLiteral("ap");
}
inline QString infoSection() {
    return QStringLiteral("inf");
}
inline QString total() {
    return QStringLiteral("vsego");
}
} // namespace testkeys

// One question of a test file, unscrambled. Missing values hold what the store returns for them.
struct Question {
    QString text;                                     // "q"
    std::array<QString, kAnswersPerQuestion> answers; // "a1" ... "a5", shown against A ... E
    QString correct;                                  // "ap" as stored: "1" ... "5"

    // Whether the answer at `position` (1 ... 5) is the correct one: "ap" is compared as text with
    // the position's digit, so a missing or damaged "ap" matches no answer.
    bool isCorrect(int position) const { return correct == QString::number(position); }
    // The letter "A" ... "E" of the correct answer, or nothing when "ap" is not 1 ... 5.
    std::optional<QChar> correctLetter() const;
};

} // namespace velmora
