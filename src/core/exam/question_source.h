// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace velmora {

// A plain-text question source as teachers write it. A file that is valid UTF-8 and holds
// non-ASCII characters is read as UTF-8 (an initial byte order mark is dropped); any other file
// is single-byte text in the code page of the data files. CR LF, LF and a lone CR end a line;
// the end of the file ends the last line.
class QuestionSource {
public:
    // The lines of the file; throws the runtime's input/output error ("File not found", ...).
    static QStringList read(const QString& path);
    static QStringList lines(const QByteArray& bytes);
    static bool isUtf8(const QByteArray& bytes);
};

} // namespace velmora
