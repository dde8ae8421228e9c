#include "access/ini_file.h"

#include "access/failure.h"
#include "access/ini_text.h"
#include "access/safe_file.h"

#include <QFileInfo>
#include <cerrno>

namespace velmora {

std::optional<QByteArray> IniFile::value(const QByteArray& section, const QByteArray& key) const {
    const auto text = readWholeFile(path_);
    if (!text) {
        return std::nullopt;
    }
    return IniText::value(*text, section, key);
}

QList<std::optional<QByteArray>> IniFile::values(const QByteArray& section,
                                                const QList<QByteArray>& keys) const {
    const QByteArray text = readWholeFile(path_).value_or(QByteArray());
    QList<std::optional<QByteArray>> found;
    found.reserve(keys.size());
    for (const QByteArray& key : keys) {
        found.append(IniText::value(text, section, key));
    }
    return found;
}

void IniFile::update(const std::function<bool(QByteArray&)>& edit) const {
    const FileLock lock(path_);
    if (!lock.held()) {
        throw failures::unableToWrite(path_);
    }
    int error = 0;
    QByteArray text = readWholeFile(path_, &error).value_or(QByteArray());
    if (error != 0 && error != ENOENT) {
        throw failures::unableToWrite(path_);
    }
    if (!edit(text)) {
        return;
    }
    if (writeFileAtomically(path_, text) != 0) {
        throw failures::unableToWrite(path_);
    }
}

void IniFile::setValue(const QByteArray& section, const QByteArray& key, const QByteArray& value) const {
    update([&](QByteArray& text) {
        IniText::setValue(text, section, key, value);
        return true;
    });
}

void IniFile::eraseSection(const QByteArray& section) const {
    if (!QFileInfo::exists(path_)) {
        return;
    }
    update([&](QByteArray& text) { return IniText::eraseSection(text, section); });
}

} // namespace velmora
