// SPDX-License-Identifier: GPL-3.0-or-later
// The index is SQLite's FTS5: a real full-text engine that Debian already ships in libsqlite3,
// with prefix queries (for words whose endings change), bm25 ranking with per-column weights,
// snippet() and highlight() to show the matches, and the unicode61 tokenizer, which folds the
// letter case of Cyrillic, the Kazakh letters included. Xapian would give the same at the cost of
// another C++ library to ship.

#include "core/search/course_index.h"

#include "core/search/document_text.h"
#include "core/search/search_query.h"
#include "core/search/search_snippet.h"
#include "core/search/sqlite_database.h"
#include "core/search/sqlite_statement.h"
#include "core/search/sqlite_transaction.h"
#include "core/storage/failure.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <sqlite3.h>

namespace velmora {
namespace {

// Marks this program's index files ("VlmS") and the layout of their tables; the schema's last
// two pragmas write them.
constexpr qint64 applicationId = 0x566C6D53;
constexpr qint64 schemaVersion = 1;

// Title words weigh five body words in the ranking.
constexpr const char* schema = R"(
CREATE TABLE IF NOT EXISTS document(
    id INTEGER PRIMARY KEY,
    path TEXT NOT NULL UNIQUE,
    caption TEXT NOT NULL,
    size INTEGER NOT NULL,
    modified INTEGER NOT NULL);
CREATE VIRTUAL TABLE IF NOT EXISTS document_text USING fts5(
    title, body, tokenize = 'unicode61 remove_diacritics 0');
INSERT INTO document_text(document_text, rank) VALUES('rank', 'bm25(5.0, 1.0)');
PRAGMA application_id = 1449946451;
PRAGMA user_version = 1;
)";

enum class FileState { Ours, Empty, Replace };

// What SQLite answers on a damaged file. FTS5 takes the sizes written in its blocks as they are:
// a damaged block can ask for more memory than there is, so "out of memory" is damage too (after
// a true lack of memory, building the index again is only wasted work).
bool isDamage(int rc) {
    return rc == SQLITE_NOTADB || rc == SQLITE_CORRUPT || rc == SQLITE_NOMEM;
}

// Whether the file holds our index, nothing yet, or something to replace (damaged, foreign, or an
// older layout: the index can always be built again from the documents).
FileState inspect(const SqliteDatabase& db) {
    QString value;
    int rc = db.tryQuery("PRAGMA application_id", value);
    if (isDamage(rc)) {
        return FileState::Replace;
    }
    if (rc != SQLITE_OK) {
        throw db.failure();
    }
    if (value.toLongLong() != applicationId) {
        rc = db.tryQuery("SELECT count(*) FROM sqlite_master", value);
        return rc == SQLITE_OK && value == u"0" ? FileState::Empty : FileState::Replace;
    }
    if (db.tryQuery("PRAGMA user_version", value) != SQLITE_OK ||
        value.toLongLong() != schemaVersion) {
        return FileState::Replace;
    }
    rc = db.tryQuery("PRAGMA quick_check", value);
    return rc == SQLITE_OK && value == u"ok" ? FileState::Ours : FileState::Replace;
}

void removeIndexFiles(const QString& path) {
    for (const QString& suffix :
         {QString(), QStringLiteral("-wal"), QStringLiteral("-shm"), QStringLiteral("-journal")}) {
        QFile file(path + suffix);
        if (file.exists() && !file.remove()) {
            throw Failure(
                QStringLiteral("Search index \"%1\" is damaged and cannot be replaced: %2")
                    .arg(path, file.errorString()));
        }
    }
}

std::unique_ptr<SqliteDatabase> openDatabase(const QString& path,
                                             std::chrono::milliseconds busyTimeout) {
    auto db = std::make_unique<SqliteDatabase>(path);
    sqlite3_busy_timeout(db->handle(), static_cast<int>(busyTimeout.count()));
    return db;
}

std::unique_ptr<SqliteDatabase> openIndex(const QString& path,
                                          std::chrono::milliseconds busyTimeout) {
    auto db = openDatabase(path, busyTimeout);
    FileState state = inspect(*db);
    if (state == FileState::Replace) {
        db.reset();
        removeIndexFiles(path);
        db = openDatabase(path, busyTimeout);
        state = FileState::Empty;
    }
    // WAL lets a search read while an update writes; NORMAL sync is enough for an index that
    // can be built again.
    db->execute("PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL");
    if (state == FileState::Empty) {
        SqliteTransaction transaction(*db);
        db->execute(schema);
        transaction.commit();
    }
    return db;
}

struct FileStamp {
    qint64 size = 0;
    qint64 modified = 0; // milliseconds since the epoch
};

std::optional<FileStamp> fileStamp(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile()) {
        return std::nullopt;
    }
    return FileStamp{info.size(), info.lastModified().toMSecsSinceEpoch()};
}

std::optional<DocumentText> readDocument(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return std::nullopt;
    }
    return readDocumentText(bytes);
}

struct StoredDocument {
    qint64 id = 0;
    FileStamp stamp;
    QString caption;
};

QHash<QString, StoredDocument> storedDocuments(const SqliteDatabase& db) {
    QHash<QString, StoredDocument> stored;
    SqliteStatement select(db, "SELECT id, path, size, modified, caption FROM document");
    while (select.step()) {
        stored.insert(select.text(1),
                      {select.integer(0), {select.integer(2), select.integer(3)}, select.text(4)});
    }
    return stored;
}

// The statements that change the index during one update.
class IndexWrites {
public:
    explicit IndexWrites(const SqliteDatabase& db)
        : db_(db), insertDocument_(db, "INSERT INTO document(caption, size, modified, path) "
                                       "VALUES(?1, ?2, ?3, ?4)"),
          updateDocument_(db, "UPDATE document SET caption = ?1, size = ?2, modified = ?3 "
                              "WHERE id = ?4"),
          deleteDocument_(db, "DELETE FROM document WHERE id = ?1"),
          insertText_(db, "INSERT INTO document_text(rowid, title, body) VALUES(?1, ?2, ?3)"),
          deleteText_(db, "DELETE FROM document_text WHERE rowid = ?1") {}

    // Stores a document read anew; `id` is its row when it was indexed before.
    void store(const IndexedDocument& document, const FileStamp& stamp, const DocumentText& text,
               std::optional<qint64> id) {
        SqliteStatement& write = id ? updateDocument_ : insertDocument_;
        write.bind(1, document.caption);
        write.bind(2, stamp.size);
        write.bind(3, stamp.modified);
        if (id) {
            write.bind(4, *id);
            runFor(deleteText_, *id);
        } else {
            write.bind(4, document.path);
        }
        write.step();
        write.reset();
        const qint64 row = id ? *id : sqlite3_last_insert_rowid(db_.handle());
        insertText_.bind(1, row);
        insertText_.bind(2, text.title.isEmpty() ? document.caption : text.title);
        insertText_.bind(3, text.text);
        insertText_.step();
        insertText_.reset();
    }

    void remove(qint64 id) {
        runFor(deleteText_, id);
        runFor(deleteDocument_, id);
    }

private:
    static void runFor(SqliteStatement& statement, qint64 id) {
        statement.bind(1, id);
        statement.step();
        statement.reset();
    }

    const SqliteDatabase& db_;
    SqliteStatement insertDocument_;
    SqliteStatement updateDocument_;
    SqliteStatement deleteDocument_;
    SqliteStatement insertText_;
    SqliteStatement deleteText_;
};

} // namespace

CourseIndex::CourseIndex(const QString& databasePath, std::chrono::milliseconds busyTimeout)
    : db_(openIndex(databasePath, busyTimeout)) {}

CourseIndex::~CourseIndex() = default;

QStringList CourseIndex::update(const QList<IndexedDocument>& documents) {
    SqliteTransaction transaction(*db_);
    QHash<QString, StoredDocument> stored = storedDocuments(*db_);
    IndexWrites writes(*db_);
    QStringList failed;
    for (const IndexedDocument& document : documents) {
        const auto found = stored.constFind(document.path);
        const std::optional<qint64> id =
            found != stored.cend() ? std::optional<qint64>(found->id) : std::nullopt;
        const std::optional<FileStamp> stamp = fileStamp(document.path);
        const bool unchanged = id && stamp && found->stamp.size == stamp->size &&
                               found->stamp.modified == stamp->modified &&
                               found->caption == document.caption;
        if (id) {
            stored.erase(found); // listed: not dropped below
        }
        if (unchanged) {
            continue;
        }
        // The stamp is taken before the read: a file changed meanwhile is read again next time.
        const std::optional<DocumentText> text = stamp ? readDocument(document.path) : std::nullopt;
        if (text) {
            writes.store(document, *stamp, *text, id);
        } else {
            if (id) {
                writes.remove(*id);
            }
            if (!failed.contains(document.path)) {
                failed.append(document.path);
            }
        }
    }
    for (const StoredDocument& gone : std::as_const(stored)) {
        writes.remove(gone.id);
    }
    transaction.commit();
    return failed;
}

bool CourseIndex::damaged() const {
    return isDamage(db_->failureCode());
}

void CourseIndex::drop(const QString& databasePath) {
    removeIndexFiles(databasePath);
}

QList<SearchHit> CourseIndex::search(const QString& typed, const QSet<QString>& allowed,
                                     int limit) const {
    const QString match = matchExpression(typed);
    if (match.isEmpty() || limit <= 0 || allowed.isEmpty()) {
        return {};
    }
    // FTS5 ranks (ORDER BY rank) and stops at the limit; the allowed paths are filtered inside
    // the query, so the texts are highlighted only for the hits returned.
    SqliteStatement ranked(*db_, "SELECT d.path, document_text.title, "
                                 "highlight(document_text, 0, char(1), char(2)), "
                                 "highlight(document_text, 1, char(1), char(2)) "
                                 "FROM document_text JOIN document AS d "
                                 "ON d.id = document_text.rowid "
                                 "WHERE document_text MATCH ?1 "
                                 "AND d.path IN (SELECT value FROM json_each(?2)) "
                                 "ORDER BY rank LIMIT ?3");
    ranked.bind(1, match);
    ranked.bind(2, QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(allowed.values()))
                                         .toJson(QJsonDocument::Compact)));
    ranked.bind(3, qint64{limit});
    QList<SearchHit> hits;
    while (ranked.step()) {
        // The body shows the match, unless only the title matched.
        const QString body = ranked.text(3);
        const QString marked = body.contains(matchStart) ? body : ranked.text(2);
        hits.append({ranked.text(0), ranked.text(1), snippetAroundFirstMatch(marked),
                     firstMatchedWord(marked)});
    }
    return hits;
}

} // namespace velmora
