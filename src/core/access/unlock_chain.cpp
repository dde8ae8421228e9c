// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/access/unlock_chain.h"

#include "core/storage/integer_text.h"

#include <array>

namespace velmora {
namespace {

// Row n belongs to "test" + n: the count of the row's positions in use, then the names at
// positions 2 up to the count.
struct Row {
    const char16_t* count;
    std::array<const char16_t*, 2> names;
};

constexpr std::array<Row, UnlockChain::kRows> kChain = {{
    {u"3", {u"n2", u"test2"}},
    {u"3", {u"n3", u"test3"}},
    {u"3", {u"n33", u"test4"}},
    {u"3", {u"n34", u"test5"}},
    {u"3", {u"n39", u"test6"}},
    {u"3", {u"n312", u"test7"}},
    {u"3", {u"n313", u"test8"}},
    {u"3", {u"n81", u"test9"}},
    {u"3", {u"n4", u"test10"}},
}};

} // namespace

QStringList UnlockChain::itemsFor(const QString& testKey) {
    for (std::size_t n = 1; n <= kChain.size(); ++n) {
        if (testKey != QStringLiteral("test") + QString::number(n)) {
            continue;
        }
        const Row& row = kChain[n - 1];
        const int count = toInteger(QString::fromUtf16(row.count));
        QStringList items;
        for (int position = 2; position <= count && position - 2 < int(row.names.size());
             ++position) {
            items.append(QString::fromUtf16(row.names[position - 2]));
        }
        return items;
    }
    return {};
}

} // namespace velmora
