// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes what a student types into the search box and what a course page holds. Whatever the
// text, its match expression is accepted by FTS5's MATCH on a table made as the course index makes
// its own (never a syntax error), and it is empty exactly when the text holds no letter or digit.
// Any bytes read as a page give text without the control characters that the index uses to mark
// matches in snippets.

#include "core/search/document_text.h"
#include "core/search/search_query.h"
#include "core/search/sqlite_database.h"
#include "core/search/sqlite_statement.h"
#include "core/storage/failure.h"
#include "fuzz_input.h"

#include <QString>
#include <algorithm>

using velmora::fuzz::check;

namespace {

// An in-memory table made as the course index makes its own, with a row for searches to hit.
const velmora::SqliteDatabase& table() {
    static const velmora::SqliteDatabase db(QStringLiteral(":memory:"));
    static const bool made = [] {
        db.execute("CREATE VIRTUAL TABLE t USING fts5(title, body, "
                   "tokenize = 'unicode61 remove_diacritics 0');"
                   "INSERT INTO t VALUES('Ақпарат', 'процесс NEAR and or not \"x\" *');");
        return true;
    }();
    check(made);
    return db;
}

bool holdsWord(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            const char32_t u = QChar::surrogateToUcs4(c, text.at(++i));
            if (QChar::isLetterOrNumber(u) || QChar::category(u) == QChar::Other_PrivateUse) {
                return true;
            }
        } else if (c.isLetterOrNumber() || c.category() == QChar::Other_PrivateUse) {
            return true;
        }
    }
    return false;
}

void checkMatches(const QString& typed) {
    const QString expression = velmora::matchExpression(typed);
    check(expression.isEmpty() == !holdsWord(typed));
    if (expression.isEmpty()) {
        return;
    }
    try {
        velmora::SqliteStatement search(table(), "SELECT count(*) FROM t WHERE t MATCH ?1");
        search.bind(1, expression);
        check(search.step());
    } catch (const velmora::Failure&) {
        check(false);
    }
}

bool isMarker(QChar c) {
    return c.category() == QChar::Other_Control && c != QLatin1Char('\n');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    // As typed: the bytes as UTF-8, and as UTF-16 code units (any character, lone surrogates).
    checkMatches(QString::fromUtf8(bytes));
    checkMatches(QString(reinterpret_cast<const QChar*>(data), static_cast<qsizetype>(size / 2)));

    if (const std::optional<velmora::DocumentText> page = velmora::readDocumentText(bytes)) {
        check(std::none_of(page->text.cbegin(), page->text.cend(), isMarker));
        check(std::none_of(page->title.cbegin(), page->title.cend(), isMarker));
        check(!page->title.contains(QLatin1Char('\n')));
    } else {
        check(bytes.contains('\0'));
    }
    return 0;
}
