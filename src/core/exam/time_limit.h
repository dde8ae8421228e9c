// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>
#include <QtGlobal>
#include <algorithm>

namespace velmora {

// The time limit of an attempt. While the program runs, the time is measured with a monotonic
// clock, so a system clock set back gives no extra time; an attempt resumed after the program's
// end counts the wall-clock time since its start as spent, never less than nothing.
class TimeLimit {
public:
    static constexpr qint64 kWarningMs = qint64{60} * 1000; // one warning at one minute left

    // A limit of `minutes`, of which `spentMs` were spent before this run of the program.
    TimeLimit(int minutes, qint64 spentMs)
        : limitMs_(qint64(minutes) * 60 * 1000), spentMs_(std::max<qint64>(spentMs, 0)) {}

    // The time spent on an attempt started at `started`, by the wall clock at `now`; a clock that
    // went back counts as no time.
    static qint64 spentSince(const QDateTime& started, const QDateTime& now) {
        return std::max<qint64>(started.msecsTo(now), 0);
    }

    // The time left after `runningMs` of this run, never below zero.
    qint64 leftMs(qint64 runningMs) const {
        return std::max<qint64>(limitMs_ - spentMs_ - std::max<qint64>(runningMs, 0), 0);
    }

    // "12:05": whole minutes and seconds left, a started second counted whole.
    static QString text(qint64 leftMs) {
        const qint64 seconds = (std::max<qint64>(leftMs, 0) + 999) / 1000;
        return QStringLiteral("%1:%2")
            .arg(seconds / 60, 2, 10, QLatin1Char('0'))
            .arg(seconds % 60, 2, 10, QLatin1Char('0'));
    }

private:
    qint64 limitMs_;
    qint64 spentMs_;
};

} // namespace velmora
