// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/exam/attempt_plan.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

namespace velmora {

// An attempt at a test with settings, as far as it went: saved after every answer so that it
// survives the program's end, whatever ends it.
struct Attempt {
    QString username;
    QString testname;  // "test3"
    AttemptPlan plan;  // the questions asked and their answer orders
    QList<int> chosen; // the file positions chosen, one per answered question
    int correct = 0;   // how many of them were right, as scored when they were given
    QDateTime started; // when the attempt began, in UTC, to the millisecond
    QString testFile;  // the test file's fingerprint when the attempt began

    friend bool operator==(const Attempt&, const Attempt&) = default;
};

// The attempt files: one per student in the folder "attempts" of the program folder, a small
// text file in the code page, rewritten atomically under its lock after every answer, removed
// once the attempt ends.
class AttemptFile {
public:
    // The file of `username`'s attempt; the name's letter case does not matter, as at sign-in.
    static QString path(const QString& username);

    // The attempt's text and its reading back; reading throws the damage's text as a Failure.
    static QByteArray text(const Attempt& attempt);
    static Attempt parse(const QByteArray& text);

    // Saves the attempt. Throws the file's failure when it cannot be written; the old file then
    // stays as it was.
    static void save(const Attempt& attempt);
    // The saved attempt of `username`; nothing when there is none. Throws a Failure naming the
    // damage when the file cannot be read as an attempt.
    static std::optional<Attempt> load(const QString& username);
    // Removes the attempt of `username`; a missing file is fine.
    static void remove(const QString& username);
    // Renames a damaged attempt file aside (".damaged" added, numbered when taken), so that it
    // is kept for a look but never offered again. Returns the new path, empty when it failed.
    static QString setAside(const QString& username);

    // Eight hexadecimal digits of a hash of test file `testname`'s bytes; empty when there is no
    // such file.
    static QString testFingerprint(const QString& testname);
};

} // namespace velmora
