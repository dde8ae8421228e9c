// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/course/course_file_edit.h"

#include "core/storage/failure.h"
#include "core/storage/safe_file.h"

#include <QByteArrayList>

namespace velmora {
namespace {

// Whether a line holds nothing but blanks or a comment.
bool isBlankOrComment(const QByteArray& line) {
    const QByteArray trimmed = line.trimmed();
    return trimmed.isEmpty() || trimmed.startsWith('#');
}

// Whether a line opens a table: "[course]", "[[menu.item]]".
bool isTableHeader(const QByteArray& line) {
    return line.trimmed().startsWith('[');
}

} // namespace

QByteArray CourseFileEdit::string(const QString& text) {
    QString quoted(QLatin1Char('"'));
    for (const QChar c : text) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\')) {
            quoted += QLatin1Char('\\');
            quoted += c;
        } else if (c.unicode() < 0x20 || c.unicode() == 0x7f) {
            quoted += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        } else {
            quoted += c;
        }
    }
    quoted += QLatin1Char('"');
    return quoted.toUtf8();
}

QByteArray CourseFileEdit::itemTable(const QList<Key>& keys) {
    QByteArray table("[[menu.item]]\n");
    for (const auto& [key, value] : keys) {
        table += key + " = " + value + "\n";
    }
    return table;
}

QByteArray CourseFileEdit::insertAfterTable(const QByteArray& text, int headerLine,
                                            const QByteArray& table) {
    const QByteArray cr = text.contains("\r\n") ? QByteArray("\r") : QByteArray();
    QByteArray whole = text;
    if (!whole.isEmpty() && !whole.endsWith('\n')) {
        whole += cr + "\n";
    }
    QByteArrayList lines = whole.split('\n');
    // The table's last line: the last one before the next header that is no blank line or
    // comment (those lead to the next table).
    qsizetype last = qBound(qsizetype(0), qsizetype(headerLine - 1), lines.size() - 1);
    for (qsizetype i = last + 1; i < lines.size() && !isTableHeader(lines[i]); ++i) {
        if (!isBlankOrComment(lines[i])) {
            last = i;
        }
    }
    QByteArrayList added{cr};
    for (const QByteArray& line : table.split('\n')) {
        if (!line.isEmpty()) {
            added.append(line + cr);
        }
    }
    for (qsizetype i = 0; i < added.size(); ++i) {
        lines.insert(last + 1 + i, added[i]);
    }
    return lines.join('\n');
}

void CourseFileEdit::rewrite(const QString& path,
                             const std::function<QByteArray(const QByteArray&)>& edit) {
    const FileLock lock(path);
    if (!lock.held()) {
        throw failures::cannotCreateFile(path, lock.error());
    }
    int error = 0;
    const std::optional<QByteArray> text = readWholeFile(path, &error);
    if (!text) {
        throw failures::cannotOpenFile(path, error);
    }
    const QByteArray edited = edit(*text);
    if (const int written = writeFileAtomically(path, edited); written != 0) {
        throw failures::cannotCreateFile(path, written);
    }
}

} // namespace velmora
