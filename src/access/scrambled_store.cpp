#include "access/scrambled_store.h"

#include "access/code_page.h"
#include "access/data_path.h"
#include "access/failure.h"
#include "access/ini_file.h"

namespace velmora {
namespace {

QByteArray scrambled(const QByteArray& plain) {
    QByteArray out;
    crypt(plain, kScrambleKey, out);
    return out;
}

bool isEdgeTrouble(char c) { return c == ' ' || c == '\t' || c == '"' || c == '\''; }

// Why scrambled bytes would not read back whole from an INI line.
bool readsBackWhole(const QByteArray& s) {
    for (const char c : s) {
        if (c == '\0' || c == '\r' || c == '\n') {
            return false;
        }
    }
    return s.isEmpty() || (!isEdgeTrouble(s.front()) && !isEdgeTrouble(s.back()));
}

QByteArray encodedName(const QString& name) {
    const QByteArray bytes = CodePage::encode(name);
    for (const char c : bytes) {
        if (c == '\0' || c == '\r' || c == '\n') {
            throw Failure(QStringLiteral("Недопустимое имя в файле данных: «%1»").arg(name));
        }
    }
    return bytes;
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
    const QByteArray stored =
        file.value(encodedName(section), encodedName(key)).value_or(QByteArray(kMissingMarker));
    QByteArray plain;
    crypt(stored, kScrambleKey, plain);
    return CodePage::decode(plain);
}

QString unstorableValueReason(const QString& value) {
    const qsizetype bad = CodePage::firstUnencodable(value);
    if (bad >= 0) {
        return unencodableMessage(value[bad]);
    }
    if (!readsBackWhole(scrambled(CodePage::encode(value)))) {
        return QStringLiteral("Значение «%1» нельзя сохранить без искажений").arg(value);
    }
    return {};
}

void writeini(const QString& section, const QString& key, const QString& value, const QString& path) {
    const QString reason = unstorableValueReason(value);
    if (!reason.isEmpty()) {
        throw Failure(reason);
    }
    const IniFile file(programFolderPath(path));
    file.setValue(encodedName(section), encodedName(key), scrambled(CodePage::encode(value)));
}

void eraseini(const QString& section, const QString& path) {
    const IniFile file(programFolderPath(path));
    file.eraseSection(encodedName(section));
}

} // namespace velmora
