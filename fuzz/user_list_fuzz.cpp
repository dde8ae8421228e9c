// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the user list file: any bytes split into names at every line end, the list written back
// reads as the same names, and adding and removing names keeps the list consistent.

#include "core/access/account_rules.h"
#include "core/access/user_list.h"
#include "fuzz_input.h"

#include <QString>

using velmora::UserList;
using velmora::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QStringList names = UserList::parse(text);

    qsizetype lineEnds = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool crlf = text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
        lineEnds += (text[i] == '\r' || text[i] == '\n') ? 1 : 0;
        i += crlf ? 1 : 0;
    }
    const bool unterminated = !text.isEmpty() && text.back() != '\r' && text.back() != '\n';
    check(names.size() == lineEnds + (unterminated ? 1 : 0));

    UserList list(names);
    check(UserList::parse(list.text()) == names);
    for (const QString& name : names) {
        check(list.contains(name));
        check(!name.contains(u'\r') && !name.contains(u'\n'));
    }

    // Removing every name once, first match each time, leaves an empty list.
    for (const QString& name : names) {
        check(list.removeFirst(name));
    }
    check(list.names().isEmpty());

    // Appending keeps one entry per name, letter case ignored.
    for (const QString& name : names) {
        list.append(name);
    }
    for (qsizetype i = 0; i < list.names().size(); ++i) {
        for (qsizetype j = i + 1; j < list.names().size(); ++j) {
            check(!velmora::AccountRules::sameName(list.names()[i], list.names()[j]));
        }
    }
    return 0;
}
