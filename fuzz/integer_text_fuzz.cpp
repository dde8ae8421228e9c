// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the text-to-integer conversion against a plain reference: leading blanks, an optional
// sign, one or more ASCII digits and nothing else, within the 32-bit range. Anything else must be
// refused with the exact message quoting the text.

#include "core/storage/failure.h"
#include "core/storage/integer_text.h"
#include "fuzz_input.h"

#include <QString>
#include <optional>

using velmora::fuzz::check;

namespace {

std::optional<long long> reference(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ') {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size()) {
        return std::nullopt;
    }
    long long value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < u'0' || text[i] > u'9') {
            return std::nullopt;
        }
        value = value * 10 + (text[i].unicode() - u'0');
        if (value > 4'000'000'000LL) {
            return std::nullopt;
        }
    }
    value = negative ? -value : value;
    if (value < -2147483648LL || value > 2147483647LL) {
        return std::nullopt;
    }
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // UTF-8, so that digits of other scripts and blanks other than the space are met too.
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto expected = reference(text);
    try {
        const int value = velmora::toInteger(text);
        check(expected.has_value() && *expected == value);
        check(velmora::lowByte(value) == static_cast<quint8>(value & 0xFF));
    } catch (const velmora::Failure& failure) {
        check(!expected.has_value());
        check(failure.message() == QStringLiteral("'%1' is not a valid integer value").arg(text));
    }
    return 0;
}
