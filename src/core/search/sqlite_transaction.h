// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/search/sqlite_database.h"

namespace velmora {

// A write transaction, taken at once (BEGIN IMMEDIATE, so a concurrent writer waits on the busy
// timeout instead of failing halfway), rolled back unless committed.
class SqliteTransaction {
public:
    explicit SqliteTransaction(const SqliteDatabase& db) : db_(db) {
        db_.execute("BEGIN IMMEDIATE");
    }
    ~SqliteTransaction() {
        if (!committed_) {
            db_.tryExecute("ROLLBACK");
        }
    }
    SqliteTransaction(const SqliteTransaction&) = delete;
    SqliteTransaction& operator=(const SqliteTransaction&) = delete;

    void commit() {
        db_.execute("COMMIT");
        committed_ = true;
    }

private:
    const SqliteDatabase& db_;
    bool committed_ = false;
};

} // namespace velmora
