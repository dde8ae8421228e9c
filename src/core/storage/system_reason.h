// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <array>
#include <cstring>

namespace velmora::failures {

// The system's text for an error number, as strerror gives it ("No such file or directory").
// Through strerror_r, not strerror: failures are also made on the index thread, and strerror may
// hand every thread one shared buffer.
inline QString systemReason(int errorNumber) {
    std::array<char, 256> buffer{};
#ifdef Q_OS_WIN
    // Windows' thread-safe form fills the buffer and returns an error number. Its text for a
    // number it does not know lacks the number glibc names; it is added, so the texts agree.
    strerror_s(buffer.data(), buffer.size(), errorNumber);
    const QString reason = QString::fromLocal8Bit(buffer.data());
    return reason == QLatin1String("Unknown error")
               ? QStringLiteral("Unknown error %1").arg(errorNumber)
               : reason;
#else
    return QString::fromLocal8Bit(strerror_r(errorNumber, buffer.data(), buffer.size()));
#endif
}

} // namespace velmora::failures
