// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

namespace velmora {

// What the register and the name list can hold: checked before anything is written, so that a
// registration is all or nothing.
class AccountRules {
public:
    // "Недопустимое имя пользователя!" for a name that is empty, begins or ends with a blank, holds
    // "[", "]", "|" or a control character, or holds a character the code page lacks.
    static std::optional<QString> nameRefusal(const QString& name);
    // A refusal for a password that the scrambled store cannot keep whole.
    static std::optional<QString> passwordRefusal(const QString& password);
    // True when the register can be asked about `name` at all (a name that could never have been
    // registered is simply not found).
    static bool canLookUp(const QString& name);
    // Names compare as the register's sections do: letter case ignored.
    static bool sameName(const QString& a, const QString& b);
};

} // namespace velmora
