// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace velmora {

// One answer line of an attempt, its fields as the answer log holds them.
struct LoggedAnswer {
    int question = 0;       // the test file's question number
    QByteArray chosen;      // "A" … "E"
    QByteArray correct;     // the correct letter when it was scored, "A" … "E" or "?"
    QByteArray fingerprint; // of the question text then

    bool right() const { return chosen == correct; }
};

// One attempt at a test as the answer log tells it: the answers from its first question on.
struct LoggedAttempt {
    QString username;   // as the log holds it
    QByteArray folded;  // the name with letter case folded, to find the student's attempts
    bool drawn = false; // written under a test's settings: it was asked the questions it answered
    // The moments (see logMoment) of its first and last line; nothing when a line's is unreadable.
    std::optional<qint64> began;
    std::optional<qint64> ended;
    QList<LoggedAnswer> answers;
};

// The attempts at one test that the answer log holds, in the order they began. An attempt begins
// with the line of its first question (without settings: question 1; under settings: the first
// answer, or a new seed); the lines of one student and test that follow belong to it. The file
// is read once; nothing is written.
class LoggedAttempts {
public:
    static LoggedAttempts read(const QString& reportfile, const QString& testname);
    // The same from the log's bytes.
    static LoggedAttempts of(QByteArrayView log, const QString& testname);

    const QList<LoggedAttempt>& attempts() const { return attempts_; }
    // Each student's first attempt, in the order they began.
    QList<LoggedAttempt> firstAttempts() const;
    // Lines of this test that could not be used: a wrong number of fields, no question number,
    // a chosen answer that is not a letter A … E.
    int skippedLines() const { return skippedLines_; }
    // Why the log could not be read; empty when it was read or does not exist yet.
    const QString& logProblem() const { return logProblem_; }

private:
    QList<LoggedAttempt> attempts_;
    int skippedLines_ = 0;
    QString logProblem_;
};

} // namespace velmora
