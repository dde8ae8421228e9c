// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/exam/question_record.h"

#include <QString>
#include <QStringList>

namespace velmora {

// What a teacher should hear about a converted source, though the conversion succeeded: questions
// that lack their correct mark or one of their five answers, or carry several marks, lines that
// came before the first question (they fill a section of their own), and a source without any
// question.
class SourceWarnings {
public:
    // Notes one source line's effect; `questions` is the question count after the line and
    // `section` the section the line's record is written into.
    void take(const SourceLineEffect& effect, int questions, const QString& section);
    // The warnings in source order, one line each.
    QStringList list() const;

private:
    void closeQuestion();

    QStringList closed_;
    int linesBeforeFirst_ = 0;
    QString firstSection_;
    int question_ = 0; // the open question's number, 0 before the first
    int answers_ = 0;  // bit i: answer i + 1 seen in the open question
    int marks_ = 0;
};

} // namespace velmora
