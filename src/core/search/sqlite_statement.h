// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

struct sqlite3_stmt;

namespace velmora {

class SqliteDatabase;

// One prepared statement, finalized with the object. Errors throw the connection's Failure.
class SqliteStatement {
public:
    SqliteStatement(const SqliteDatabase& db, const char* sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    // Parameters count from 1, as in SQLite.
    void bind(int index, const QString& text);
    void bind(int index, qint64 value);
    // Runs to the next row: true when there is one, false when done.
    bool step();
    // Ready to run again with new parameters.
    void reset();

    QString text(int column) const;
    qint64 integer(int column) const;

private:
    const SqliteDatabase& db_;
    sqlite3_stmt* statement_ = nullptr;
};

} // namespace velmora
