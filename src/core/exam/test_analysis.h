// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/exam/item_analysis.h"
#include "core/exam/logged_attempts.h"
#include "core/exam/question_statistics.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace velmora {

// Which attempts the analysis takes: each student's first (what the platforms take by default, as
// later attempts have seen the questions), or every attempt.
enum class AttemptChoice { First, All };

// One question of the test file as it stands now with its figures.
struct AnalysedQuestion {
    QuestionTally tally; // the number, the text, the correct letter and the A … E counts
    ItemFigures figures;

    // The figures' flags, then "слишком трудный" / "слишком лёгкий" as the facility gives them.
    QStringList flags() const;
};

// The item analysis of one test from the answer log, against the test file as it stands now: an
// answer is right when it chose the question's current correct letter, so a key mended since
// counts as mended. An answer to a question whose text changed since (or that is gone) is left
// out, and the attempt counts as not asked that question.
class TestAnalysis {
public:
    static TestAnalysis read(const QString& reportfile, const QString& testname,
                             AttemptChoice choice);
    static TestAnalysis of(const QList<QuestionTally>& questions, const LoggedAttempts& log,
                           AttemptChoice choice);

    const QList<AnalysedQuestion>& questions() const { return questions_; }
    const TestFigures& test() const { return analysis_.test(); }
    // Each attempt's share right, in percent.
    const QList<double>& totals() const { return analysis_.totals(); }
    // Answers left out (a changed question), lines skipped, a log that could not be read.
    QStringList notes() const;
    // What the teacher reads under the table: the figures a drawn test lacks, and what the
    // internal consistency says.
    QStringList remarks() const;

private:
    QList<AnalysedQuestion> questions_;
    ItemAnalysis analysis_;
    int changedAnswers_ = 0;
    int skippedLines_ = 0;
    QString logProblem_;
};

} // namespace velmora
