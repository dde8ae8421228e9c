// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/storage/integer_text.h"

#include "core/storage/failure.h"

namespace velmora {

int toInteger(const QString& text) {
    if (const std::optional<int> value = integerValue(text)) {
        return *value;
    }
    throw failures::invalidInteger(text);
}

std::optional<int> integerValue(const QString& text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == QLatin1Char(' ')) {
        ++i;
    }
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    if (i == n) {
        return std::nullopt;
    }
    // Accumulate in 64 bits, so that the 32-bit minimum fits before the sign is applied.
    qint64 value = 0;
    for (; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        value = value * 10 + (c - u'0');
        if (value > qint64(2147483648)) {
            return std::nullopt;
        }
    }
    if (!negative && value > qint64(2147483647)) {
        return std::nullopt;
    }
    return static_cast<int>(negative ? -value : value);
}

} // namespace velmora
