// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_and_options.h"

namespace velmora::admin {

std::optional<FileAndOptions> fileAndOptions(const QStringList& a, const QStringList& allowed,
                                             const QStringList& flags) {
    FileAndOptions parsed;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (flags.contains(a[i])) {
            if (parsed.flags.contains(a[i])) {
                return std::nullopt;
            }
            parsed.flags.append(a[i]);
        } else if (allowed.contains(a[i])) {
            if (i + 1 >= a.size() || parsed.options.contains(a[i])) {
                return std::nullopt;
            }
            parsed.options.insert(a[i], a[i + 1]);
            ++i;
        } else if (parsed.file.isEmpty() && !a[i].startsWith(QStringLiteral("--"))) {
            parsed.file = a[i];
        } else {
            return std::nullopt;
        }
    }
    return parsed.file.isEmpty() ? std::nullopt : std::optional(parsed);
}

} // namespace velmora::admin
