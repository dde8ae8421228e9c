// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <cstdint>
#include <cstdlib>

namespace velmora::fuzz {

// Stops the run, so that libFuzzer keeps the input that broke a property.
inline void check(bool ok) {
    if (!ok) {
        std::abort();
    }
}

// Reads a fuzzer's input piece by piece; an exhausted input gives zeros and empty texts.
class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size)
        : rest_(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)) {}

    bool empty() const { return rest_.isEmpty(); }

    unsigned char byte() {
        if (rest_.isEmpty()) {
            return 0;
        }
        const auto b = static_cast<unsigned char>(rest_.front());
        rest_ = rest_.sliced(1);
        return b;
    }

    // Up to `limit` bytes: a length byte scaled to the limit, then that many bytes.
    QByteArray bytes(qsizetype limit) {
        const qsizetype wanted = byte() * limit / 255;
        const qsizetype n = wanted < rest_.size() ? wanted : rest_.size();
        const QByteArray part = rest_.first(n).toByteArray();
        rest_ = rest_.sliced(n);
        return part;
    }

    QByteArray rest() {
        const QByteArray all = rest_.toByteArray();
        rest_ = {};
        return all;
    }

private:
    QByteArrayView rest_;
};

} // namespace velmora::fuzz
