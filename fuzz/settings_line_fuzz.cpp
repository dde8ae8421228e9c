// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the administrator settings line. Fields are taken as they stand, split at "|", missing
// ones empty and later ones ignored; settings the administrator screen accepts write a line that
// reads back to the same settings; a line of exactly three fields is written back unchanged.

#include "core/access/admin_settings.h"
#include "core/storage/code_page.h"
#include "fuzz_input.h"

#include <QString>
#include <QStringList>

using velmora::AdminSettings;
using velmora::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString line = velmora::CodePage::decode(
        QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    const AdminSettings settings = AdminSettings::fromLine(line);

    const QStringList fields = line.split(u'|');
    check(settings.login == fields.value(0));
    check(settings.password == fields.value(1));
    check(settings.reportFile == fields.value(2));
    if (fields.size() == 3) {
        check(settings.line() == line);
    }

    const auto refusal = AdminSettings::applyRefusal(settings.login, settings.password,
                                                     settings.password, settings.reportFile);
    if (!refusal) {
        check(AdminSettings::fromLine(settings.line()) == settings);
        check(!settings.login.isEmpty());
    }
    // Two differing passwords are always refused.
    check(AdminSettings::applyRefusal(settings.login, settings.password, settings.password + u'x',
                                      settings.reportFile)
              .has_value());
    return 0;
}
