// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/search/sqlite_database.h"

#include "core/storage/failure.h"

#include <QFile>
#include <sqlite3.h>

namespace velmora {

SqliteDatabase::SqliteDatabase(const QString& path) : path_(path) {
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        const Failure refused = failure();
        sqlite3_close(db_);
        throw Failure(refused);
    }
    sqlite3_extended_result_codes(db_, 0);
}

SqliteDatabase::~SqliteDatabase() {
    sqlite3_close(db_);
}

void SqliteDatabase::execute(const char* sql) const {
    if (tryExecute(sql) != SQLITE_OK) {
        throw failure();
    }
}

int SqliteDatabase::tryExecute(const char* sql) const {
    return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
}

int SqliteDatabase::tryQuery(const char* sql, QString& value) const {
    value.clear();
    const auto firstValue = [](void* out, int columns, char** values, char**) {
        auto* text = static_cast<QString*>(out);
        if (text->isNull() && columns > 0 && values[0] != nullptr) {
            *text = QString::fromUtf8(values[0]);
        }
        return 0;
    };
    return sqlite3_exec(db_, sql, firstValue, &value, nullptr);
}

Failure SqliteDatabase::failure() const {
    failureCode_ = db_ != nullptr ? sqlite3_errcode(db_) : SQLITE_NOMEM;
    const QString reason =
        db_ != nullptr ? QString::fromUtf8(sqlite3_errmsg(db_)) : QStringLiteral("out of memory");
    return Failure(QStringLiteral("Search index \"%1\": %2").arg(path_, reason));
}

} // namespace velmora
