// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/exam/test_run.h"

#include <QDateTime>
#include <QString>

namespace velmora {

// The answer log: one line per answered question, in a plain text file in the code page beside
// the test log, named as the test log with ".answers" before its extension ("report.txt" gives
// "report.answers.txt"). It lets the teacher see which questions a group gets wrong. Lines are
// appended under the same lock as the test log's.
class AnswerLog {
public:
    // One answer: the chosen and the correct answer as letters "A" … "E" ("?" for a correct
    // answer the test file does not name).
    struct Answer {
        QString username;
        QDateTime when;
        QString testname;
        int question = 0;
        QString chosen;
        QString correct;
        QString questionText;
        // Under a test's settings: the answer's place in its attempt (1, 2, …) and the attempt's
        // seed; 0 for a test without settings, whose line has no more fields.
        int asked = 0;
        quint64 seed = 0;
    };

    // The answer to the question a test run scored last.
    static Answer of(const QString& username, const QDateTime& when, const QString& testname,
                     const AnsweredQuestion& answered);

    // "name | 14:05:09 | 03.02.2025 | test1 | 7 | B | C | 0a1b2c3d"; under a test's settings two
    // more fields follow, the seed and the place in the attempt: "… | 0a1b2c3d | 00c0ffee00c0ffee
    // | 3". The question number and both letters are always the test file's.
    static QString line(const Answer& answer);
    // The fields of a line without and with the attempt's fields.
    static constexpr int kFields = 8;
    static constexpr int kAttemptFields = 10;

    // Eight lower-case hexadecimal digits of a hash of the plain question text, so that a line
    // can tell whether the question it answered is still the one in the test file.
    static QString fingerprint(const QString& questionText);

    // The letter "A" … "E" of answer position 1 … 5; "?" for any other position.
    static QString letter(int position);

    // The answer log's full path for a test log settings value; empty when the setting names no
    // file.
    static QString path(const QString& reportfile);

    // Appends the answer's line and CR LF, creating the file when missing, with the mode and
    // group of the test log (of its folder while there is no test log). False when it cannot
    // be written; nothing is shown, for a lost answer line must never disturb the test.
    static bool append(const QString& reportfile, const Answer& answer);
};

} // namespace velmora
