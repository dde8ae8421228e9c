// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/storage/ini_file.h"

#include "core/storage/failure.h"
#include "core/storage/ini_text.h"
#include "core/storage/safe_file.h"

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

std::optional<QByteArray> IniFile::text() const {
    return readWholeFile(path_);
}

QByteArray IniFile::textForWriting() const {
    int error = 0;
    QByteArray text = readWholeFile(path_, &error).value_or(QByteArray());
    if (error != 0 && error != ENOENT) {
        throw failures::unableToWrite(path_);
    }
    return text;
}

void IniFile::update(const std::function<bool(QByteArray&)>& edit) const {
    const FileLock lock(path_);
    if (!lock.held()) {
        throw failures::unableToWrite(path_);
    }
    QByteArray text = textForWriting();
    if (!edit(text)) {
        return;
    }
    if (writeFileAtomically(path_, text) != 0) {
        throw failures::unableToWrite(path_);
    }
}

bool IniFile::wouldChange(const std::function<bool(QByteArray&)>& edit) const {
    auto text = readWholeFile(path_);
    return !text || edit(*text);
}

void IniFile::setValue(const QByteArray& section, const QByteArray& key,
                       const QByteArray& value) const {
    const auto set = [&](QByteArray& text) { return IniText::setValue(text, section, key, value); };
    if (wouldChange(set)) {
        update(set);
    }
}

bool IniFile::addSection(const QByteArray& section,
                         const QList<std::pair<QByteArray, QByteArray>>& values) const {
    bool added = false;
    update([&](QByteArray& text) {
        if (IniText::hasSection(text, section)) {
            return false;
        }
        text += IniText::newSection(text, section, values);
        added = true;
        return true;
    });
    return added;
}

void IniFile::eraseSection(const QByteArray& section) const {
    // A missing file has nothing to erase; only a missing folder fails, as a write would.
    if (!QFileInfo::exists(path_) && QFileInfo(path_).absoluteDir().exists()) {
        return;
    }
    const auto erase = [&](QByteArray& text) { return IniText::eraseSection(text, section); };
    if (wouldChange(erase)) {
        update(erase);
    }
}

} // namespace velmora
