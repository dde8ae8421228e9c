// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/access/user_list.h"

#include "core/access/account_rules.h"
#include "core/storage/code_page.h"
#include "core/storage/data_path.h"
#include "core/storage/failure.h"
#include "core/storage/safe_file.h"

#include <algorithm>
#include <cerrno>

namespace velmora {
namespace {

qsizetype indexOf(const QStringList& names, const QString& name) {
    const auto it = std::find_if(names.begin(), names.end(), [&](const QString& entry) {
        return AccountRules::sameName(entry, name);
    });
    return it == names.end() ? -1 : it - names.begin();
}

} // namespace

UserList UserList::load() {
    const QString path = openPath(fileName());
    int error = 0;
    const auto text = readWholeFile(path, &error);
    if (!text) {
        throw failures::cannotOpenFile(path, error);
    }
    return UserList(parse(*text));
}

QStringList UserList::parse(QByteArrayView text) {
    QStringList lines;
    qsizetype begin = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') {
            continue;
        }
        lines.append(CodePage::decode(text.sliced(begin, i - begin)));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
        }
        begin = i + 1;
    }
    if (begin < text.size()) {
        lines.append(CodePage::decode(text.sliced(begin)));
    }
    return lines;
}

QByteArray UserList::text() const {
    QByteArray out;
    for (const QString& name : names_) {
        out += CodePage::encode(name);
        out += "\r\n";
    }
    return out;
}

bool UserList::contains(const QString& name) const {
    return indexOf(names_, name) >= 0;
}

void UserList::append(const QString& name) {
    if (!contains(name)) {
        names_.append(name);
    }
}

bool UserList::removeFirst(const QString& name) {
    const qsizetype at = indexOf(names_, name);
    if (at < 0) {
        return false;
    }
    names_.removeAt(at);
    return true;
}

void UserList::update(const std::function<void(UserList&)>& change) {
    const QString path = openPath(fileName());
    const FileLock lock(path);
    if (!lock.held()) {
        throw failures::cannotCreateFile(path, lock.error());
    }
    int error = 0;
    const auto current = readWholeFile(path, &error);
    UserList result = current ? UserList(parse(*current)) : error == ENOENT ? UserList() : *this;
    change(result);
    const QByteArray content = result.text();
    if (!current || content != *current) {
        error = writeFileAtomically(path, content);
        if (error != 0) {
            throw failures::cannotCreateFile(path, error);
        }
    }
    names_ = result.names_;
}

} // namespace velmora
