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
    // Windows' thread-safe form fills the buffer and returns an error number.
    strerror_s(buffer.data(), buffer.size(), errorNumber);
    return QString::fromLocal8Bit(buffer.data());
#else
    return QString::fromLocal8Bit(strerror_r(errorNumber, buffer.data(), buffer.size()));
#endif
}

} // namespace velmora::failures
