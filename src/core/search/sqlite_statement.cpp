// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/search/sqlite_statement.h"

#include "core/search/sqlite_database.h"
#include "core/storage/failure.h"

#include <sqlite3.h>

namespace velmora {

SqliteStatement::SqliteStatement(const SqliteDatabase& db, const char* sql) : db_(db) {
    if (sqlite3_prepare_v2(db.handle(), sql, -1, &statement_, nullptr) != SQLITE_OK) {
        throw db.failure();
    }
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(statement_);
}

void SqliteStatement::bind(int index, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    if (sqlite3_bind_text(statement_, index, utf8.constData(), static_cast<int>(utf8.size()),
                          SQLITE_TRANSIENT) != SQLITE_OK) {
        throw db_.failure();
    }
}

void SqliteStatement::bind(int index, qint64 value) {
    if (sqlite3_bind_int64(statement_, index, value) != SQLITE_OK) {
        throw db_.failure();
    }
}

bool SqliteStatement::step() {
    const int rc = sqlite3_step(statement_);
    if (rc == SQLITE_ROW) {
        return true;
    }
    if (rc == SQLITE_DONE) {
        return false;
    }
    throw db_.failure();
}

void SqliteStatement::reset() {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
}

QString SqliteStatement::text(int column) const {
    const auto* utf8 = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
    return QString::fromUtf8(utf8, sqlite3_column_bytes(statement_, column));
}

qint64 SqliteStatement::integer(int column) const {
    return sqlite3_column_int64(statement_, column);
}

} // namespace velmora
