#include "core/storage/integer_text.h"

#include "core/storage/failure.h"

namespace velmora {

int toInteger(const QString& text) {
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
        throw failures::invalidInteger(text);
    }
    // Accumulate in 64 bits, so that the 32-bit minimum fits before the sign is applied.
    qint64 value = 0;
    for (; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9') {
            throw failures::invalidInteger(text);
        }
        value = value * 10 + (c - u'0');
        if (value > qint64(2147483648)) {
            throw failures::invalidInteger(text);
        }
    }
    if (!negative && value > qint64(2147483647)) {
        throw failures::invalidInteger(text);
    }
    return static_cast<int>(negative ? -value : value);
}

} // namespace velmora
