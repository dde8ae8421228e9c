// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/access/sign_in.h"

#include "core/access/account_rules.h"

namespace velmora {

SignIn::Outcome SignIn::check(const QString& name, const QString& password,
                              const QString& adminLogin, const QString& adminPassword) {
    if (!adminLogin.isEmpty() && name == adminLogin) {
        return password == adminPassword ? Outcome::Administrator : Outcome::Ignored;
    }
    if (!AccountRules::canLookUp(name)) {
        return Outcome::Refused;
    }
    return UserRegister::storedPassword(name) == std::optional(password) ? Outcome::Student
                                                                         : Outcome::Refused;
}

} // namespace velmora
