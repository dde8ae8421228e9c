// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/search/search_query.h"

#include <gtest/gtest.h>

using velmora::matchExpression;

namespace {

TEST(MatchExpression, EveryWordIsAQuotedStringAndNothingIsAnOperator) {
    struct Case {
        QString typed;
        QString expression;
    };
    const Case cases[] = {
        {QStringLiteral("ақпарат"), QStringLiteral("\"ақпарат\"*")},
        {QStringLiteral("  Ақпарат \t жүйесі "), QStringLiteral("\"Ақпарат\"* AND \"жүйесі\"*")},
        {QStringLiteral("\"ақпарат жүйесі\" бар"),
         QStringLiteral("\"ақпарат жүйесі\" AND \"бар\"*")},
        {QStringLiteral("a \"unclosed phrase"), QStringLiteral("\"a\"* AND \"unclosed phrase\"")},
        {QStringLiteral("a OR b NOT c"),
         QStringLiteral("\"a\"* AND \"OR\"* AND \"b\"* AND \"NOT\"* AND \"c\"*")},
        {QStringLiteral("title:x* -y (z) NEAR(a,b) ^w +v"),
         QStringLiteral("\"title\"* AND \"x\"* AND \"y\"* AND \"z\"* AND \"NEAR\"* AND \"a\"* "
                        "AND \"b\"* AND \"w\"* AND \"v\"*")},
        {QStringLiteral("don't"), QStringLiteral("\"don\"* AND \"t\"*")},
        {QStringLiteral("日本語 №5"), QStringLiteral("\"日本語\"* AND \"5\"*")},
        {QStringLiteral("𝐀𝐁"), QStringLiteral("\"𝐀𝐁\"*")}, // letters past U+FFFF
        {QStringLiteral("и\u0306 \u0301x"), QStringLiteral("\"и\u0306\"* AND \"x\"*")}, // marks
        {QStringLiteral("a") + QChar(0xD800) + QStringLiteral("b"),
         QStringLiteral("\"a\"* AND \"b\"*")}, // a lone surrogate ends a word
        {QString(), QString()},
        {QStringLiteral("   \t\n"), QString()},
        {QStringLiteral("\"\" * - ( ) : ^ + 😀 \u0301"), QString()},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(matchExpression(c.typed), c.expression) << c.typed.toStdString();
    }
}

} // namespace
