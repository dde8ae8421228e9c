// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <QVarLengthArray>
#include <functional>
#include <optional>

namespace velmora {

// The fields of one line of the test log or the answer log, split at " | ", as views into the
// line. Fields are taken as they stand.
using LogFields = QVarLengthArray<QByteArrayView, 8>;

// Calls `take` with the fields of every non-empty line of `text` (CR LF, LF or a lone CR end a
// line). Lines are split in place, so a log of a million lines costs no copy of it.
void forEachLogLine(QByteArrayView text, const std::function<void(const LogFields&)>& take);

// The whole file's bytes; nothing, with the failure's text in `problem`, when it cannot be read.
std::optional<QByteArray> readLogFile(const QString& path, QString* problem);

// A small decimal number written with digits only (no sign, no blanks), or nothing.
std::optional<int> logNumber(QByteArrayView field);

// A line's moment, its time "14:05:09" and date "03.02.2025", as one number that orders moments
// as time does (20250203140509); nothing when the fields have another form or name a moment that
// does not exist (an hour 25, a 32nd day, a 29 February of a common year).
std::optional<qint64> logMoment(QByteArrayView time, QByteArrayView date);
// The same number for a moment in local time, to the second.
qint64 logMoment(const QDateTime& when);

} // namespace velmora
