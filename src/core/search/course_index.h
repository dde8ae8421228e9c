// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/search/indexed_document.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <chrono>
#include <memory>

namespace velmora {

class SqliteDatabase;

// A full-text index of the course documents in an SQLite FTS5 database (unicode61 tokenizer,
// diacritics kept: "remove_diacritics 0", so Kazakh letters stay distinct). One object per thread:
// the GUI updates the index on a worker thread with one object and searches on the GUI thread with
// another on the same file (WAL journal, busy timeout, so neither blocks the other for long).
class CourseIndex {
public:
    // Opens the index kept in `databasePath`, creating it when missing; a damaged or foreign file
    // is replaced by a new index. ":memory:" keeps it in memory. Throws Failure when it cannot be
    // opened. While another connection (another copy of the program) holds the file, each step
    // waits up to `busyTimeout` before it fails.
    explicit CourseIndex(const QString& databasePath,
                         std::chrono::milliseconds busyTimeout = std::chrono::seconds(5));
    ~CourseIndex();
    CourseIndex(const CourseIndex&) = delete;
    CourseIndex& operator=(const CourseIndex&) = delete;

    // Brings the index up to date with `documents`: files new or changed since indexed (size and
    // modification time, and caption) are read again, files no longer listed or gone are dropped.
    // Returns the paths of documents that could not be read or decoded; they are left out.
    // Runs in one transaction.
    QStringList update(const QList<IndexedDocument>& documents);

    // The documents among `allowed` (paths) that match `typed` (see matchExpression), best first
    // (bm25, title words weighing more than body words), at most `limit`. Empty for no words.
    // Never throws for what was typed.
    QList<SearchHit> search(const QString& typed, const QSet<QString>& allowed,
                            int limit = 50) const;

    // Whether the last Failure this index threw came from a damaged file (SQLite found it corrupt
    // or not a database at all, or FTS5 read an absurd size from it), which the check at opening
    // can miss: such an index is to be dropped and built again. A file held by another copy of
    // the program is not damaged.
    bool damaged() const;

    // Removes the index kept in `databasePath` and its journal files, so that the next object
    // builds it anew; objects still open on it go on reading the removed file. Throws Failure when
    // a file cannot be removed.
    static void drop(const QString& databasePath);

private:
    std::unique_ptr<SqliteDatabase> db_;
};

} // namespace velmora
