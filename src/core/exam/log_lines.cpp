// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exam/log_lines.h"

#include "core/storage/failure.h"
#include "core/storage/safe_file.h"

#include <QFileInfo>
#include <cerrno>
#include <cstring>

namespace velmora {
namespace {

// Splits at every "|" with a blank on each side. The bars are found with memchr, so logs of a
// million lines split faster than by searching for the three-byte separator.
void splitFields(QByteArrayView line, LogFields& fields) {
    fields.clear();
    const char* const data = line.data();
    const qsizetype size = line.size();
    qsizetype from = 0;
    qsizetype scan = 0;
    while (scan < size) {
        const void* found = std::memchr(data + scan, '|', static_cast<size_t>(size - scan));
        if (found == nullptr) {
            break;
        }
        const qsizetype bar = static_cast<const char*>(found) - data;
        if (bar > from && bar + 1 < size && data[bar - 1] == ' ' && data[bar + 1] == ' ') {
            fields.append(line.sliced(from, bar - 1 - from));
            from = bar + 2;
        }
        scan = bar + 1;
    }
    fields.append(line.sliced(from));
}

// yyyyMMddHHmmss as one number.
qint64 momentNumber(int year, int month, int day, int hour, int minute, int second) {
    constexpr qint64 kNext = 100;
    return ((((qint64{year} * kNext + month) * kNext + day) * kNext + hour) * kNext + minute) *
               kNext +
           second;
}

} // namespace

void forEachLogLine(QByteArrayView text, const std::function<void(const LogFields&)>& take) {
    LogFields fields;
    const char* const data = text.data();
    const qsizetype size = text.size();
    qsizetype start = 0;
    while (start < size) {
        const void* lf = std::memchr(data + start, '\n', static_cast<size_t>(size - start));
        qsizetype end = lf == nullptr ? size : static_cast<const char*>(lf) - data;
        // A CR ends a line too: CR LF, or a lone CR inside what runs to the next LF.
        if (const void* cr = std::memchr(data + start, '\r', static_cast<size_t>(end - start))) {
            end = static_cast<const char*>(cr) - data;
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

std::optional<qint64> logMoment(QByteArrayView time, QByteArrayView date) {
    // "HH:mm:ss" and "dd.MM.yyyy": digits with the separators at fixed places.
    if (time.size() != 8 || time[2] != ':' || time[5] != ':' || date.size() != 10 ||
        date[2] != '.' || date[5] != '.') {
        return std::nullopt;
    }
    const std::optional<int> year = logNumber(date.sliced(6, 4));
    const std::optional<int> month = logNumber(date.sliced(3, 2));
    const std::optional<int> day = logNumber(date.first(2));
    const std::optional<int> hour = logNumber(time.first(2));
    const std::optional<int> minute = logNumber(time.sliced(3, 2));
    const std::optional<int> second = logNumber(time.sliced(6, 2));
    if (!year || !month || !day || !hour || !minute || !second) {
        return std::nullopt;
    }
    // A moment no clock or calendar shows ("25:99:00", "32.13.2025", "29.02.2025") is none.
    if (!QDate::isValid(*year, *month, *day) || !QTime::isValid(*hour, *minute, *second)) {
        return std::nullopt;
    }
    return momentNumber(*year, *month, *day, *hour, *minute, *second);
}

qint64 logMoment(const QDateTime& when) {
    const QDateTime local = when.toLocalTime();
    const QDate date = local.date();
    const QTime time = local.time();
    return momentNumber(date.year(), date.month(), date.day(), time.hour(), time.minute(),
                        time.second());
}

} // namespace velmora
