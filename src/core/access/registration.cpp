// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/access/registration.h"

#include "core/access/access_texts.h"
#include "core/access/account_rules.h"
#include "core/access/user_register.h"
#include "core/storage/failure.h"

namespace velmora {

std::optional<QString> Registration::registerStudent(const QString& name, const QString& password,
                                                     const QString& adminLogin, UserList& list) {
    if (auto refusal = AccountRules::nameRefusal(name)) {
        return refusal;
    }
    if (auto refusal = AccountRules::passwordRefusal(password)) {
        return refusal;
    }
    // The administrator's grades are written back under the login at close; a student of that
    // name would lose theirs.
    if (AccountRules::sameName(name, adminLogin) || !UserRegister::addStudent(name, password)) {
        return texts::nameTaken();
    }
    try {
        list.update([&](UserList& current) { current.append(name); });
    } catch (const Failure&) {
        // All or nothing across both files: a student registered but not listed could neither be
        // chosen by the administrator nor register again. The list's failure is the one shown.
        try {
            UserRegister::erase(name);
        } catch (const Failure&) {
            // Nothing more can be done for the register; the list's failure says what went wrong.
        }
        throw;
    }
    return std::nullopt;
}

std::optional<QString> Registration::deleteStudent(const QString& name, const QString& password,
                                                   UserList& list) {
    if (!AccountRules::canLookUp(name) ||
        UserRegister::storedPassword(name) != std::optional(password)) {
        return texts::wrongNameOrPassword();
    }
    UserRegister::erase(name);
    list.update([&](UserList& current) { current.removeFirst(name); });
    return std::nullopt;
}

} // namespace velmora
