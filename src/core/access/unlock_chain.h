// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/course/course_shape.h"

#include <QString>
#include <QStringList>

namespace velmora {

// Which menu items a test opens: for the test keys "test1" to "test9" (kUnlockingTests), the
// lecture and the test that follow it. The names are menu item names, to be matched without regard
// to letter case; names of items the menu lacks are passed over by the caller.
class UnlockChain {
public:
    // Rows belong to the test keys "test1" to "test" + kRows.
    static constexpr int kRows = kUnlockingTests;

    // The item names for a test key compared exactly; empty for any other text ("test10"
    // included).
    static QStringList itemsFor(const QString& testKey);
};

} // namespace velmora
