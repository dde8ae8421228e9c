// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/access/user_register.h"

#include <QString>

namespace velmora {

// The decision of "Әрі қарай>>": the administrator signs in with the settings' login and password
// compared exactly; everybody else is a student found in the register whatever the letter case
// of the name, with the exact password.
class SignIn {
public:
    enum class Outcome {
        Administrator,
        Student,
        Refused, // shown as "Проверьте правильность имени и пароля!"
        Ignored, // the administrator login with a wrong password: refused without a word
    };

    // An empty administrator login never matches: the name then goes the student's way.
    static Outcome check(const QString& name, const QString& password, const QString& adminLogin,
                         const QString& adminPassword);
};

} // namespace velmora
