// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace velmora {

// The test log: a plain text file in the code page, one line per finished test, at the path the
// administrator settings name (a relative path is taken from the current directory). Lines are
// appended under the file's cross-process lock, so programs sharing one log never interleave or
// lose lines.
class TestLog {
public:
    // "name | 14:05:09 | 03.02.2025 | test1 | 5"
    static QString line(const QString& username, const QDateTime& when, const QString& testname,
                        int grade);

    // The log's full path for a settings value.
    static QString path(const QString& reportfile);
    // A file kept beside the log, named as the log with `part` before its extension:
    // "report.txt" and "answers" give "report.answers.txt". Empty when the setting names no file.
    static QString companionPath(const QString& reportfile, const QString& part);

    // Appends `line` and CR LF, creating the file when missing. Throws the runtime's input/output
    // error ("File not found", "File access denied", ...) when the log cannot be written.
    static void append(const QString& reportfile, const QString& line);

    // The log's lines in file order. Throws "Cannot open file "<full path>". <reason>" when the
    // log cannot be read.
    static QStringList read(const QString& reportfile);
};

} // namespace velmora
