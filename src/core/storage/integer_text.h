// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

namespace velmora {

// The standard text-to-integer conversion: optional leading blanks, an optional sign, decimal
// digits and nothing after them, within the 32-bit range. Anything else throws
// "'%s' is not a valid integer value" quoting the text as it was.
int toInteger(const QString& text);
// toInteger without the failure: nothing when the text is not such a number.
std::optional<int> integerValue(const QString& text);

// The low eight bits of a converted grade, as stored in the grade table.
inline quint8 lowByte(int value) {
    return static_cast<quint8>(static_cast<unsigned>(value) & 0xFFU);
}

} // namespace velmora
