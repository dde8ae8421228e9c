// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <functional>

namespace velmora {

// Changes to a course.toml made as a teacher would make them in an editor: new tables are put in
// between the existing lines, so every comment, blank line and the order of the file stay as the
// teacher wrote them.
class CourseFileEdit {
public:
    // One key of a new table and its value, written as TOML ("\"text\"", "3", "true").
    using Key = QPair<QByteArray, QByteArray>;

    // A TOML basic string of `text`, quotes included: "\"Лекция \\\"1\\\"\"".
    static QByteArray string(const QString& text);

    // A [[menu.item]] table of the keys, in their order.
    static QByteArray itemTable(const QList<Key>& keys);

    // The file's text with `table` put right after the table whose header stands on line
    // `headerLine` (1-based): after that table's last key, before the blank lines and comments
    // that lead to the next table. The table's lines take the file's line ends (LF or CR LF).
    static QByteArray insertAfterTable(const QByteArray& text, int headerLine,
                                       const QByteArray& table);

    // Rewrites the course file `path` with what `edit` makes of its current text: under the file's
    // lock, the text read again once the lock is held (so that a change saved a moment ago by an
    // editor is edited, not lost), replaced atomically. `edit` may throw Failure; the file is then
    // left as it was. Throws Failure when the file cannot be read, locked or written.
    static void rewrite(const QString& path,
                        const std::function<QByteArray(const QByteArray&)>& edit);
};

} // namespace velmora
