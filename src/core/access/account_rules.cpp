// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/access/account_rules.h"

#include "core/access/access_texts.h"
#include "core/storage/code_page.h"
#include "core/storage/scrambled_store.h"

#include <algorithm>

namespace velmora {
namespace {

bool isControl(QChar c) {
    return c.unicode() < 0x20 || c.unicode() == 0x7F;
}

bool breaksRecords(QChar c) {
    return c == QLatin1Char('[') || c == QLatin1Char(']') || c == QLatin1Char('|') || isControl(c);
}

} // namespace

std::optional<QString> AccountRules::nameRefusal(const QString& name) {
    if (name.isEmpty() || name.front().isSpace() || name.back().isSpace() ||
        !CodePage::canEncode(name) || std::any_of(name.begin(), name.end(), breaksRecords)) {
        return texts::invalidUserName();
    }
    return std::nullopt;
}

std::optional<QString> AccountRules::passwordRefusal(const QString& password) {
    const qsizetype bad = CodePage::firstUnencodable(password);
    if (bad >= 0) {
        return texts::invalidPassword() + QLatin1Char('\n') + unencodableMessage(password, bad);
    }
    if (!unstorableValueReason(password).isEmpty()) {
        return texts::invalidPassword();
    }
    return std::nullopt;
}

bool AccountRules::canLookUp(const QString& name) {
    return CodePage::canEncode(name) && std::none_of(name.begin(), name.end(), [](QChar c) {
               return c == QLatin1Char('\0') || c == QLatin1Char('\r') || c == QLatin1Char('\n');
           });
}

bool AccountRules::sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace velmora
