// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/access/user_list.h"

#include <QString>
#include <optional>

namespace velmora {

// Registration and deletion of students on the sign-in screen. Each returns the text of the
// error box that refuses the command, or nothing when the command was done. Failures to write
// the files are thrown.
class Registration {
public:
    // Checks the name and password, and that neither a student (letter case ignored) nor the
    // administrator login holds the name, before anything is written; then creates the student's
    // section in the register, adds the name to `list` and writes the list file. When the list
    // cannot be written, the section is erased again before the list's failure is thrown.
    [[nodiscard]] static std::optional<QString> registerStudent(const QString& name,
                                                                const QString& password,
                                                                const QString& adminLogin,
                                                                UserList& list);
    // With the right password: erases the student's section, removes the first matching entry
    // from `list` and writes the list file. No confirmation is asked.
    [[nodiscard]] static std::optional<QString>
    deleteStudent(const QString& name, const QString& password, UserList& list);
};

} // namespace velmora
