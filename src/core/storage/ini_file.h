// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>
#include <optional>
#include <utility>

namespace velmora {

// An INI file on disk, by full path. Reads take the file as it stands (a rewrite is atomic, so a
// reader sees the old or the new file whole). Writes are read-modify-write under the file's
// cross-process lock and replace the file atomically; any failure throws
// "Unable to write to <path>" and leaves the file as it was.
class IniFile {
public:
    explicit IniFile(QString path) : path_(std::move(path)) {}

    const QString& path() const { return path_; }

    // Nothing when the file, section or key is missing (or the file cannot be read).
    std::optional<QByteArray> value(const QByteArray& section, const QByteArray& key) const;
    // The whole text, for several look-ups (IniText) from one read; nothing when the file is
    // missing or cannot be read.
    std::optional<QByteArray> text() const;
    void setValue(const QByteArray& section, const QByteArray& key, const QByteArray& value) const;
    // Adds a new section at the end of the file (created when missing), unless a section of that
    // name exists: then nothing is written and the result is false. The check and the write are
    // one locked, atomic update.
    bool addSection(const QByteArray& section,
                    const QList<std::pair<QByteArray, QByteArray>>& values) const;
    // A missing file or section changes nothing, and no file is created; a missing folder fails
    // as a write would.
    void eraseSection(const QByteArray& section) const;
    // Runs `edit` on the file's text under the lock and writes the result when it returns true.
    // A missing file starts as empty text.
    void update(const std::function<bool(QByteArray&)>& edit) const;

private:
    // Runs `edit` on the file as it stands, without the lock: false when it would change nothing,
    // so that a write already done costs neither the lock nor a rewrite (the outcome is the same as
    // had it waited for the lock). True when the file cannot be read; the locked update decides.
    bool wouldChange(const std::function<bool(QByteArray&)>& edit) const;
    // The file's text for a read-modify-write; a missing file is empty.
    QByteArray textForWriting() const;

    QString path_;
};

} // namespace velmora
