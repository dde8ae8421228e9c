// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/storage/scrambled_store.h"

#include "core/storage/code_page.h"
#include "core/storage/data_path.h"
#include "core/storage/failure.h"
#include "core/storage/ini_batch.h"
#include "core/storage/ini_file.h"
#include "core/storage/ini_text.h"

#include <QSet>

namespace velmora {
namespace {

QByteArray scrambled(const QByteArray& plain) {
    QByteArray out;
    crypt(plain, kScrambleKey, out);
    return out;
}

bool isEdgeTrouble(char c) {
    return c == ' ' || c == '\t' || c == '"' || c == '\'';
}

// The position of the first byte that would not read back whole from an INI line: a line's end
// or a NUL anywhere, a blank, tab or quote at either edge; -1 when the bytes read back whole.
qsizetype firstTroubleAt(const QByteArray& s) {
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == '\0' || s[i] == '\r' || s[i] == '\n') {
            return i;
        }
    }
    if (!s.isEmpty() && isEdgeTrouble(s.front())) {
        return 0;
    }
    if (!s.isEmpty() && isEdgeTrouble(s.back())) {
        return s.size() - 1;
    }
    return -1;
}

// A section or key name in the code page. A name that would split its line, or a key name that
// would read back as another key or as a section header, is refused.
QByteArray encodedName(const QString& name, bool isKey) {
    QByteArray bytes = CodePage::encode(name);
    const bool splitsLine = bytes.contains('\0') || bytes.contains('\r') || bytes.contains('\n');
    const bool breaksKey = isKey && (bytes.contains('=') || bytes.trimmed().startsWith('['));
    if (splitsLine || breaksKey) {
        throw Failure(QStringLiteral("Недопустимое имя в файле данных: «%1»").arg(name));
    }
    return bytes;
}

QByteArray sectionName(const QString& name) {
    return encodedName(name, false);
}
QByteArray keyName(const QString& name) {
    return encodedName(name, true);
}

void checkStorable(const QString& value) {
    const QString reason = unstorableValueReason(value);
    if (!reason.isEmpty()) {
        throw Failure(reason);
    }
}

QString unscrambled(const QByteArray& stored) {
    QByteArray plain;
    crypt(stored, kScrambleKey, plain);
    return CodePage::decode(plain);
}

// Key names and scrambled values, checked before anything is written.
QList<std::pair<QByteArray, QByteArray>> encodedValues(const IniValues& values) {
    QList<std::pair<QByteArray, QByteArray>> encoded;
    encoded.reserve(values.size());
    for (const auto& [key, value] : values) {
        checkStorable(value);
        encoded.append({keyName(key), scrambled(CodePage::encode(value))});
    }
    return encoded;
}

} // namespace

void crypt(const QByteArray& text, int key, QByteArray& output) {
    const char k = static_cast<char>(key & 0xFF);
    const qsizetype start = output.size();
    output.resize(start + text.size());
    char* out = output.data() + start;
    for (qsizetype i = 0; i < text.size(); ++i) {
        out[i] = static_cast<char>(text[i] ^ k);
    }
}

QString missingValue() {
    QByteArray plain;
    crypt(QByteArray(kMissingMarker), kScrambleKey, plain);
    return CodePage::decode(plain);
}

QString readini(const QString& section, const QString& key, const QString& path) {
    const IniFile file(programFolderPath(path));
    return unscrambled(
        file.value(sectionName(section), keyName(key)).value_or(QByteArray(kMissingMarker)));
}

std::optional<QString> readiniStored(const QString& section, const QString& key,
                                     const QString& path) {
    const IniFile file(programFolderPath(path));
    if (const auto stored = file.value(sectionName(section), keyName(key))) {
        return unscrambled(*stored);
    }
    return std::nullopt;
}

QStringList readiniValues(const QString& section, const QStringList& keys, const QString& path) {
    return readiniSection(section, keys, path).values;
}

IniSectionValues readiniSection(const QString& section, const QStringList& keys,
                                const QString& path) {
    QList<QByteArray> keyNames;
    keyNames.reserve(keys.size());
    for (const QString& key : keys) {
        keyNames.append(keyName(key));
    }
    const QByteArray name = sectionName(section);
    const QByteArray text = IniFile(programFolderPath(path)).text().value_or(QByteArray());
    IniSectionValues read;
    read.values.reserve(keys.size());
    for (const auto& stored : IniText::values(text, name, keyNames)) {
        read.values.append(unscrambled(stored.value_or(QByteArray(kMissingMarker))));
    }
    read.sectionHoldsKeys = !IniText::keyNames(text, name).isEmpty();
    return read;
}

QList<IniSectionRead> readiniSections(const QStringList& keys, const QString& path) {
    QList<QByteArray> keyNames;
    keyNames.reserve(keys.size());
    for (const QString& key : keys) {
        keyNames.append(keyName(key));
    }
    const QByteArray text = IniFile(programFolderPath(path)).text().value_or(QByteArray());
    QList<IniSectionRead> sections;
    QSet<QByteArray> seen;
    for (const IniText::SectionSpan& span : IniText::sectionSpans(text)) {
        QByteArray folded(span.name.size(), Qt::Uninitialized);
        for (qsizetype i = 0; i < span.name.size(); ++i) {
            folded[i] = static_cast<char>(CodePage::fold(static_cast<unsigned char>(span.name[i])));
        }
        if (seen.contains(folded)) {
            continue;
        }
        seen.insert(folded);
        IniSectionRead read;
        read.name = CodePage::decode(span.name);
        for (const auto& stored : IniText::values(span.lines, span.name, keyNames)) {
            read.values.append(stored ? std::optional<QString>(unscrambled(*stored))
                                      : std::nullopt);
        }
        sections.append(std::move(read));
    }
    return sections;
}

QString unstorableValueReason(const QString& value) {
    const qsizetype bad = CodePage::firstUnencodable(value);
    if (bad >= 0) {
        return unencodableMessage(value, bad);
    }
    if (value.size() > IniText::kMaxValueBytes) {
        return QStringLiteral("Значение длиной %1 символов нельзя сохранить: самое большее %2")
            .arg(value.size())
            .arg(IniText::kMaxValueBytes);
    }
    // Every character is one byte of the code page here, so a byte's position is the character's.
    if (const qsizetype at = firstTroubleAt(scrambled(CodePage::encode(value))); at >= 0) {
        return QStringLiteral("Значение «%1» нельзя сохранить без искажений: символ %2")
            .arg(value, characterWithCode(value, at));
    }
    return {};
}

void writeini(const QString& section, const QString& key, const QString& value,
              const QString& path) {
    checkStorable(value);
    const IniFile file(programFolderPath(path));
    file.setValue(sectionName(section), keyName(key), scrambled(CodePage::encode(value)));
}

void writeiniValues(const QString& section, const IniValues& values, const QString& path) {
    const QByteArray name = sectionName(section);
    const auto encoded = encodedValues(values);
    const IniFile file(programFolderPath(path));
    file.update([&](QByteArray& text) {
        for (const auto& [key, value] : encoded) {
            IniText::setValue(text, name, key, value);
        }
        return true;
    });
}

void writeiniSections(const QList<std::pair<QString, IniValues>>& sections, const QString& path) {
    IniBatch batch;
    for (const auto& [section, values] : sections) {
        const QByteArray name = sectionName(section);
        for (const auto& [key, value] : encodedValues(values)) {
            batch.setValue(name, key, value);
        }
    }
    IniFile(programFolderPath(path)).update([&batch](QByteArray& text) {
        batch.applyTo(text);
        return true;
    });
}

bool writeiniNewSection(const QString& section, const IniValues& values, const QString& path) {
    const QByteArray name = sectionName(section);
    const auto encoded = encodedValues(values);
    return IniFile(programFolderPath(path)).addSection(name, encoded);
}

void eraseini(const QString& section, const QString& path) {
    const IniFile file(programFolderPath(path));
    file.eraseSection(sectionName(section));
}

} // namespace velmora
