// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/access/user_register.h"

#include <QString>
#include <functional>

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

    // Loads grades 1 to kShownGrades of a student into `grades` from one read of the register,
    // in order; each test graded below the pass mark is handed to `lock` (with its test key) as
    // soon as it is applied. A grade that is not a number throws after the earlier grades and
    // locks were applied.
    static void loadStudent(const QString& name, Grades& grades,
                            const std::function<void(const QString& testKey)>& lock);
};

} // namespace velmora
