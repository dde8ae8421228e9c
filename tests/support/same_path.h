// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <gtest/gtest.h>

namespace velmora::test {

// Two paths of one file as the system sees them: equal letter for letter where names are
// case-sensitive, equal but for letter case on Windows, where a name typed in any case names the
// file and is kept as typed.
inline ::testing::AssertionResult samePath(const QString& actual, const QString& expected) {
#ifdef Q_OS_WIN
    const Qt::CaseSensitivity cs = Qt::CaseInsensitive;
#else
    const Qt::CaseSensitivity cs = Qt::CaseSensitive;
#endif
    if (actual.compare(expected, cs) == 0) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << '"' << actual.toStdString() << "\" is not \"" << expected.toStdString() << '"';
}

} // namespace velmora::test
