// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/search/search_snippet.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

// "wFROM … wTO".
QString words(int from, int to) {
    QStringList list;
    for (int i = from; i <= to; ++i) {
        list.append(QStringLiteral("w%1").arg(i));
    }
    return list.join(QLatin1Char(' '));
}

// The text with [ and ] turned into the marks that highlight() puts around a match.
QString marked(QString text) {
    return text.replace(QLatin1Char('['), matchStart).replace(QLatin1Char(']'), matchEnd);
}

TEST(SearchSnippet, ShowsTheWordsAroundTheFirstMatch) {
    struct Case {
        QString text;
        QString snippet;
        QString firstWord;
    };
    const Case cases[] = {
        {QStringLiteral("a b [c] d [e]"), QStringLiteral("a b <b>c</b> d <b>e</b>"),
         QStringLiteral("c")},
        // eight words before, sixteen from the match on, cut marks where the text goes on
        {words(1, 11) + QStringLiteral(" [w12] ") + words(13, 30),
         QStringLiteral("…") + words(4, 11) + QStringLiteral(" <b>w12</b> ") + words(13, 27) +
             QStringLiteral("…"),
         QStringLiteral("w12")},
        // a phrase across the window's end is kept whole
        {QStringLiteral("[w1] ") + words(2, 15) + QStringLiteral(" [w16 w17] w18 w19"),
         QStringLiteral("<b>w1</b> ") + words(2, 15) + QStringLiteral(" <b>w16 w17</b>…"),
         QStringLiteral("w1")},
        {QStringLiteral("x\n\n [Ақпарат жүйе] <i>&"),
         QStringLiteral("x <b>Ақпарат жүйе</b> &lt;i&gt;&amp;"), QStringLiteral("Ақпарат")},
        {QStringLiteral("nothing marked"), QString(), QString()},
    };
    for (const Case& c : cases) {
        const QString snippet = snippetAroundFirstMatch(marked(c.text));
        EXPECT_EQ(snippet, c.snippet) << snippet.toStdString();
        EXPECT_EQ(firstMatchedWord(marked(c.text)), c.firstWord) << c.text.toStdString();
    }
}

} // namespace
