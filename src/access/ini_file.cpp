#include "access/ini_file.h"

#include "access/failure.h"
#include "access/ini_text.h"
#include "access/safe_file.h"

#include <QDir>
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

void IniFile::setValue(const QByteArray& section, const QByteArray& key,
                       const QByteArray& value) const {
    // Writing a value over itself leaves the file as it is, and costs no rewrite.
    update([&](QByteArray& text) {
        const QByteArray before = text;
        IniText::setValue(text, section, key, value);
        return text != before;
    });
}

void IniFile::eraseSection(const QByteArray& section) const {
    // Erasing is idempotent, so a look without the lock may settle that there is nothing to do;
    // only a missing folder is a failure, as the write could not have been done.
    int error = 0;
    auto text = readWholeFile(path_, &error);
    if (!text && error == ENOENT && QFileInfo(path_).absoluteDir().exists()) {
        return;
    }
    if (text && !IniText::eraseSection(*text, section)) {
        return;
    }
    update([&](QByteArray& current) { return IniText::eraseSection(current, section); });
}

} // namespace velmora
