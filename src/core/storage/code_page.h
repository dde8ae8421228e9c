// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace velmora {

// The single-byte code page of every data file: the Kazakh national code page RK1048. For ASCII
// and the Russian letters it is byte for byte Windows-1251; it also holds the Kazakh letters.
// Conversion uses a table of our own: Qt has no codec for it, and iconv would tie the program to
// glibc's converter set.
class CodePage {
public:
    // Throws a Failure naming the first character the code page lacks.
    static QByteArray encode(QStringView text);
    static QString decode(QByteArrayView bytes);
    // True when every character of `text` has a byte in the code page.
    static bool canEncode(QStringView text);
    // The first character of `text` that the code page lacks, or -1.
    static qsizetype firstUnencodable(QStringView text);
    // The Unicode character of one byte.
    static char16_t toUnicode(unsigned char byte);
    // Letter case folding on bytes: the byte of the lower-case letter, for ASCII and for the
    // Cyrillic and Kazakh letters; every other byte is returned unchanged.
    static unsigned char fold(unsigned char byte) { return foldTable()[byte]; }
    // Every byte of `bytes` folded: one key for a name however its letters are written.
    static QByteArray folded(QByteArrayView bytes);

private:
    static const unsigned char* foldTable();
};

// The character at `at` in `text` with its code, as messages name it: «®» (U+00AE).
QString characterWithCode(QStringView text, qsizetype at);

// The message of the character at `at` in `text`, which the data files cannot hold.
QString unencodableMessage(QStringView text, qsizetype at);

} // namespace velmora
