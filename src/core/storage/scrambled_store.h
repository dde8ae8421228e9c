// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>

namespace velmora {

// The scrambled INI store of the user register and the test files. Values are scrambled byte by
// byte with a fixed key (exclusive or); section and key names stay plain. Paths are relative to
// the current directory, taken anew at each call, and begin with a backslash ("\users.ini").
// Texts cross the file boundary in the single-byte code page.
//
// The scrambling hides values from a casual look in a text editor; it is not encryption.

// The fixed key. It is chosen so that no digit, letter, blank or common punctuation mark
// scrambles to a byte that an INI line cannot hold whole (NUL, TAB, LF, CR, blank or a quote).
inline constexpr int kScrambleKey = 0xA4;

// Appends `text` combined with the low byte of `key` to `output`.
void crypt(const QByteArray& text, int key, QByteArray& output);

// The missing-value marker handed to the reader as its default; a missing value therefore reads
// as the marker's unscrambled form.
inline constexpr char kMissingMarker[] = "!!!!!!";

QString readini(const QString& section, const QString& key, const QString& path);
// readini, but nothing when the file holds no such key, so that a missing value is told apart
// from a stored text that reads like the marker's.
std::optional<QString> readiniStored(const QString& section, const QString& key,
                                     const QString& path);
// Throws when the value's scrambled form could not be read back whole, and writes nothing then.
void writeini(const QString& section, const QString& key, const QString& value,
              const QString& path);
void eraseini(const QString& section, const QString& path);

// Several values of one section: keys with their plain values, in writing order.
using IniValues = QList<std::pair<QString, QString>>;

// readini for several keys of one section, read in one pass over the file.
QStringList readiniValues(const QString& section, const QStringList& keys, const QString& path);
// readiniValues, and from the same read of the file whether the section holds any key at all
// (false when the file or the section is missing, or the section has no key line).
struct IniSectionValues {
    QStringList values;
    bool sectionHoldsKeys = false;
};
IniSectionValues readiniSection(const QString& section, const QStringList& keys,
                                const QString& path);
// One section of a file as readiniSections gives it: its name and the plain values of the keys
// asked for, nothing for a key the section lacks.
struct IniSectionRead {
    QString name;
    QList<std::optional<QString>> values;
};
// Every section of the file in one read, in file order; of several sections of one name (letter
// case ignored) only the first, the one readini reads. A missing file has no section.
QList<IniSectionRead> readiniSections(const QStringList& keys, const QString& path);
// writeini for several keys of one section in one rewrite of the file: every value or none is
// written. Values that cannot be stored whole are refused before anything is written.
void writeiniValues(const QString& section, const IniValues& values, const QString& path);
// writeiniValues for several sections in one rewrite of the file, under its lock: every value of
// every section or none is written.
void writeiniSections(const QList<std::pair<QString, IniValues>>& sections, const QString& path);
// Adds the section with the values at the end of the file in one write, unless a section of that
// name (letter case ignored) exists already: then nothing is written and the result is false. The
// check and the write happen under the file's lock, so two writers cannot both create it.
[[nodiscard]] bool writeiniNewSection(const QString& section, const IniValues& values,
                                      const QString& path);

// What readini returns for a missing value.
QString missingValue();

// Why a value cannot be stored whole, or an empty text when it can.
QString unstorableValueReason(const QString& value);

} // namespace velmora
