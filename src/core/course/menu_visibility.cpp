// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/course/menu_visibility.h"

#include <array>

namespace velmora {
namespace {

struct Row {
    const char16_t* item;
    std::array<bool, 4> visible; // Design, BeforeSignIn, Student, Administrator
    bool hiddenDuringTest;
};

// Items not listed here are always visible.
constexpr std::array<Row, 14> rows{{
    {u"N0", {true, false, true, true}, true},
    {u"nlab", {false, false, true, true}, false},
    {u"Nprak", {false, false, true, true}, false},
    {u"Nrk", {false, false, true, true}, false},
    {u"N8", {true, true, true, true}, false},
    {u"Nadm", {false, false, true, true}, false},
    {u"Ni", {true, true, true, true}, true},
    {u"notch", {false, false, false, true}, false},
    {u"Ntun", {false, false, false, true}, false},
    {u"nred", {false, false, false, true}, false},
    {u"njournal", {false, false, false, true}, false},
    {u"NaFormuAvtorizazii", {true, true, false, false}, false},
    {u"N21", {true, true, true, true}, false},
    {u"Ne", {true, true, true, true}, false},
}};

} // namespace

QList<MenuVisibility> menuVisibility(MenuState state, bool testRunning) {
    QList<MenuVisibility> result;
    for (const Row& row : rows) {
        const bool visible =
            row.visible[static_cast<size_t>(state)] && !(testRunning && row.hiddenDuringTest);
        result.append({QString::fromUtf16(row.item), visible});
    }
    return result;
}

} // namespace velmora
