// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/exam/question.h"

#include <QList>
#include <QString>
#include <array>
#include <utility>

namespace velmora {

// How a source line was classified by the line rules.
enum class SourceLineKind { Empty, Answer, Separator, Question };

// What one source line did to the working record.
struct SourceLineEffect {
    SourceLineKind kind = SourceLineKind::Empty;
    int answer = 0;      // 1 ... 5 for an answer line
    bool marked = false; // the line set the correct position
};

// The working record of the source conversion: the current question as it is written after every
// source line. Fields a block does not set keep what the previous block left; the record lasts
// from one conversion to the next while the program runs. The answers start empty, so that an
// answer the first question lacks is empty, as one is that no earlier question had.
struct QuestionRecord {
    QString text = QStringLiteral("Edit1");
    std::array<QString, kAnswersPerQuestion> answers;
    QString position = QStringLiteral("Edit7");
    QString number = QStringLiteral("Edit8"); // names the section the record is written into

    // The record's values in the order they are written: "q", "a1" ... "a5", "ap".
    QList<std::pair<QString, QString>> values() const;

    // Applies one source line by the line rules, in their order:
    // - an empty line changes nothing;
    // - a line beginning "A)" ... "E)" becomes answer 1 ... 5, a final "*" turned into a blank;
    // - any other line but the separator "********" starts a question: it becomes the question
    //   text, `questions` grows by one and names the record's section;
    // - a non-empty line ending in "*", other than the separator, whose first character is
    //   "A" ... "E" sets the correct position "1" ... "5".
    // Comparisons are exact: the letters are the Latin capitals.
    SourceLineEffect take(const QString& line, int& questions);

    bool operator==(const QuestionRecord&) const = default;
};

} // namespace velmora
