// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <optional>
#include <utility>

namespace velmora {

// INI text in memory, byte for byte as it stands in the file, with the behaviour the course
// files were always read and written with:
// - section and key names match without regard to letter case (ASCII and the code page's
//   Cyrillic and Kazakh letters); the first matching section, and the first matching key in it,
//   win; blanks and tabs around names and values are dropped;
// - one pair of enclosing double or single quotes is removed from a value;
// - a line splits at its first "="; a line without "=" holds no key;
// - a header's name runs to its last "]"; a "[" line without "]" is an ordinary line;
// - CR LF, LF and a lone CR all end a line;
// - a value comes back with at most kMaxValueBytes bytes.
// Writing replaces a value in place, or appends the key at the end of its section, or the section
// at the end of the text; every other byte stays as it was. New lines end in CR LF.
class IniText {
public:
    static constexpr qsizetype kMaxValueBytes = 2047;

    // The value, or nothing when the section or key is missing.
    static std::optional<QByteArray> value(QByteArrayView text, QByteArrayView section,
                                           QByteArrayView key);
    // The values of several keys of the first matching section, found with one look-up of the
    // section; nothing for each missing key.
    static QList<std::optional<QByteArray>> values(QByteArrayView text, QByteArrayView section,
                                                   const QList<QByteArray>& keys);
    // False, with the text untouched, when the key already holds exactly these bytes.
    static bool setValue(QByteArray& text, QByteArrayView section, QByteArrayView key,
                         QByteArrayView value);
    // The bytes that add a new section holding the keys in order at the end of `text` (a line
    // end first when the last line lacks one). The caller makes sure that no section of that
    // name exists.
    static QByteArray newSection(QByteArrayView text, QByteArrayView section,
                                 const QList<std::pair<QByteArray, QByteArray>>& values);
    static bool hasSection(QByteArrayView text, QByteArrayView section);
    // Removes the section's header and all its lines; false when there is no such section.
    static bool eraseSection(QByteArray& text, QByteArrayView section);
    // The text without the blanks and tabs around it, as names and values are read.
    static QByteArrayView trimmed(QByteArrayView text);
    // The names of all sections in file order (duplicates included).
    static QList<QByteArray> sectionNames(QByteArrayView text);

    // A section as it stands in the text: its name and its lines, header included. A look-up in
    // the lines of the first section of a name finds what a look-up in the whole text finds.
    struct SectionSpan {
        QByteArrayView name;
        QByteArrayView lines;
    };
    // Every section in file order (duplicates included), found in one pass over the text, so that
    // many values of a large file cost one scan.
    static QList<SectionSpan> sectionSpans(QByteArrayView text);
    // Whether two section or key names match (letter case ignored).
    static bool namesMatch(QByteArrayView a, QByteArrayView b);
    // The key names of the first matching section, in file order. Lines beginning with ";" are
    // comments here and are left out, as the platform lists keys; value() still reads such a key.
    static QList<QByteArray> keyNames(QByteArrayView text, QByteArrayView section);
};

} // namespace velmora
