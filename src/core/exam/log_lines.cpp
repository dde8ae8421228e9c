// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exam/log_lines.h"

#include "core/storage/failure.h"
#include "core/storage/safe_file.h"

#include <QFileInfo>
#include <cerrno>

namespace velmora {
namespace {

constexpr QByteArrayView kSeparator(" | ");

void splitFields(QByteArrayView line, LogFields& fields) {
    fields.clear();
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = line.indexOf(kSeparator, from);
        if (at < 0) {
            fields.append(line.sliced(from));
            return;
        }
        fields.append(line.sliced(from, at - from));
        from = at + kSeparator.size();
    }
}

} // namespace

void forEachLogLine(QByteArrayView text, const std::function<void(const LogFields&)>& take) {
    LogFields fields;
    qsizetype start = 0;
    const qsizetype size = text.size();
    while (start < size) {
        qsizetype end = start;
        while (end < size && text[end] != '\n' && text[end] != '\r') {
            ++end;
        }
        if (end > start) {
            splitFields(text.sliced(start, end - start), fields);
            take(fields);
        }
        start = end + 1;
    }
}

std::optional<QByteArray> readLogFile(const QString& path, QString* problem) {
    int error = path.isEmpty() ? ENOENT : 0;
    if (error == 0 && QFileInfo(path).isDir()) {
        error = EISDIR;
    }
    std::optional<QByteArray> bytes;
    if (error == 0) {
        bytes = readWholeFile(path, &error);
    }
    if (!bytes && problem != nullptr) {
        *problem = failures::cannotOpenFile(path, error).message();
    }
    return bytes;
}

std::optional<int> logNumber(QByteArrayView field) {
    if (field.isEmpty() || field.size() > 6) {
        return std::nullopt;
    }
    int value = 0;
    for (const char c : field) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace velmora
