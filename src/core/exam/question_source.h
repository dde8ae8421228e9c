// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace velmora {

// A plain-text question source as teachers write it. A file that begins with a byte order mark of
// UTF-16 (either order) is read as UTF-16; a file that is valid UTF-8 and holds non-ASCII
// characters is read as UTF-8 (an initial byte order mark is dropped); any other file is
// single-byte text in the code page of the data files. CR LF, LF and a lone CR end a line; the end
// of the file ends the last line. Bytes that are text in none of these (zero bytes, a broken
// UTF-16 text, UTF-32, a UTF-8 mark before other bytes) are refused by the readers of files.
class QuestionSource {
public:
    // The lines of the file; throws the runtime's input/output error ("File not found", ...) and
    // the refusal of requireText.
    static QStringList read(const QString& path);
    // The lines of text that requireText accepts; other bytes give their best reading.
    static QStringList lines(const QByteArray& bytes);
    static bool isUtf8(const QByteArray& bytes);
    // What keeps the bytes from being read as text, or an empty string.
    static QString encodingProblem(const QByteArray& bytes);
    // Throws "Файл <path> не читается как текст: <problem>" when the bytes are no text.
    static void requireText(const QByteArray& bytes, const QString& path);
    // True when the lines are a source of ours: an answer line "A)" ... "E)" ends with the mark
    // "*", whatever else the file holds.
    static bool isSource(const QStringList& lines);
};

} // namespace velmora
