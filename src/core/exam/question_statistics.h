// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/exam/test_shape.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>

namespace velmora {

// How one question of a test's current file was answered.
struct QuestionTally {
    int number = 0;
    QString text;
    QString correct; // "A" … "E" as the test file holds it now, or "?"
    int answers = 0;
    int correctAnswers = 0;
    std::array<int, kAnswersPerQuestion> chosen{}; // answers per letter A … E

    double correctShare() const;
    // "слишком трудный" with at least 5 answers and under 30 % correct, "слишком лёгкий" over
    // 95 %; empty otherwise.
    QString verdict() const;
};

// The notes of a reading of the answer log: why it could not be read, how many answers to changed
// questions were left out, how many lines were skipped; nothing for what did not happen.
QStringList answerLogNotes(const QString& logProblem, int changedAnswers, int skippedLines);

// The answer log summed up per question of one test as its file stands now. A line whose question
// fingerprint differs from the current question's, or that was scored under another correct
// answer (the test was changed since), is left out and counted. A missing answer log holds no
// answers; one that cannot be read is a note. Reads the test file and the answer log once and
// writes nothing.
class QuestionStatistics {
public:
    static QuestionStatistics read(const QString& reportfile, const QString& testname);
    // The questions of the test file as it stands now, in number order, nothing answered.
    static QList<QuestionTally> questionsOf(const QString& testname);

    const QList<QuestionTally>& questions() const { return questions_; }
    // Lines of this test answering a question that has changed (its text or its correct answer)
    // or is gone.
    int changedLines() const { return changedLines_; }
    // Lines that could not be used at all: a wrong number of fields, no question number, a
    // chosen answer that is not a letter A … E.
    int skippedLines() const { return skippedLines_; }
    const QString& logProblem() const { return logProblem_; }
    QStringList notes() const;

private:
    void readAnswers(const QString& path, const QString& testname);

    QList<QuestionTally> questions_;
    int changedLines_ = 0;
    int skippedLines_ = 0;
    QString logProblem_;
};

} // namespace velmora
