#pragma once

#include <QString>

namespace velmora {

// The standard text-to-integer conversion: optional leading blanks, an optional sign, decimal
// digits and nothing after them, within the 32-bit range. Anything else throws
// "'%s' is not a valid integer value" quoting the text as it was.
int toInteger(const QString& text);

// The low eight bits of a converted grade, as stored in the grade table.
inline quint8 lowByte(int value) {
    return static_cast<quint8>(static_cast<unsigned>(value) & 0xFFU);
}

} // namespace velmora
