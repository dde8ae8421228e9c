// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

namespace velmora {

// How each user wants the program shown, kept in "view.ini" in the program folder: one section
// per user name as they signed in, the key "contrast" = "1" for the high-contrast look, "0" for
// the usual one. A file of its own, so the user register keeps its keys.
class ViewPreferences {
public:
    static QString fileName() { return QStringLiteral("view.ini"); }

    // What `user` chose last; nothing when they never chose (or the file cannot be read).
    static std::optional<bool> highContrast(const QString& user);
    // Remembers the choice; throws "Unable to write to <path>" when it cannot be kept.
    static void setHighContrast(const QString& user, bool on);
};

} // namespace velmora
