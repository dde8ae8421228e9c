// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

struct sqlite3;

namespace velmora {

class Failure;

// One SQLite connection, closed with the object. Errors become a Failure that names the file and
// gives SQLite's reason.
class SqliteDatabase {
public:
    // Opens `path` for reading and writing, creating it when missing; throws Failure when SQLite
    // cannot open it.
    explicit SqliteDatabase(const QString& path);
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    sqlite3* handle() const { return db_; }
    const QString& path() const { return path_; }

    // Runs statements that return no rows; throws Failure on error.
    void execute(const char* sql) const;
    // The same, returning SQLite's result code instead of throwing.
    int tryExecute(const char* sql) const;
    // Runs a query for one value: `value` gets the first column of its first row as text.
    // Returns SQLite's result code instead of throwing.
    int tryQuery(const char* sql, QString& value) const;
    // The failure of the last call that went wrong on this connection.
    Failure failure() const;
    // SQLite's result code (SQLITE_BUSY, SQLITE_CORRUPT, ...) of the last failure made above;
    // SQLITE_OK before any.
    int failureCode() const { return failureCode_; }

private:
    QString path_;
    sqlite3* db_ = nullptr;
    mutable int failureCode_ = 0;
};

} // namespace velmora
