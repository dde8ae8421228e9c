// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/access/view_preferences.h"

#include "core/storage/code_page.h"
#include "core/storage/data_path.h"
#include "core/storage/ini_file.h"

namespace velmora {
namespace {

IniFile preferencesFile() {
    return IniFile(openPath(ViewPreferences::fileName()));
}

QByteArray contrastKey() {
    return QByteArrayLiteral("contrast");
}

} // namespace

std::optional<bool> ViewPreferences::highContrast(const QString& user) {
    const auto value = preferencesFile().value(CodePage::encode(user), contrastKey());
    if (!value) {
        return std::nullopt;
    }
    const QByteArray text = value->trimmed();
    if (text == "1") {
        return true;
    }
    if (text == "0") {
        return false;
    }
    return std::nullopt;
}

void ViewPreferences::setHighContrast(const QString& user, bool on) {
    preferencesFile().setValue(CodePage::encode(user), contrastKey(), on ? "1" : "0");
}

} // namespace velmora
