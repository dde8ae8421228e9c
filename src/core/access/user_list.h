// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <functional>

namespace velmora {

// The name list file "users": plain single-byte text, one registered name per line, in the order
// of registration. In memory it is the item list of the progress screen's user list; every change
// is a read-modify-write of the whole file.
class UserList {
public:
    UserList() = default;
    explicit UserList(QStringList names) : names_(std::move(names)) {}

    static QString fileName() { return QStringLiteral("users"); }

    // Reads the file; throws "Cannot open file "%s". %s" when it cannot be read.
    static UserList load();
    // The lines of the file's text; CR LF, LF and a lone CR all end a line.
    static QStringList parse(QByteArrayView text);
    // The file's text: every name followed by CR LF.
    QByteArray text() const;

    const QStringList& names() const { return names_; }
    // True when the list holds the name, letter case ignored.
    bool contains(const QString& name) const;
    // Appends the name unless the list holds it already.
    void append(const QString& name);
    // Removes the first entry equal to the name, letter case ignored; false when there is none.
    bool removeFirst(const QString& name);
    // Applies `change` to the list as the file holds it now, under the file's lock, and replaces
    // the file atomically with the result (creating it when missing); this list then holds the
    // result. Names that another copy of the program sharing the folder added or removed since this
    // list was loaded are kept. Throws "Cannot create file "%s". %s" when it cannot be written.
    void update(const std::function<void(UserList&)>& change);

private:
    QStringList names_;
};

} // namespace velmora
