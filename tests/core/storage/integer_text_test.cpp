// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/storage/failure.h"
#include "core/storage/integer_text.h"

#include <gtest/gtest.h>

using velmora::toInteger;

namespace {

struct Good {
    const char16_t* text;
    int value;
};

TEST(IntegerText, AcceptsBlanksSignAndDigits) {
    const Good cases[] = {{u"0", 0},
                          {u"5", 5},
                          {u"  42", 42},
                          {u"+7", 7},
                          {u"-1", -1},
                          {u"007", 7},
                          {u"2147483647", 2147483647},
                          {u"-2147483648", -2147483647 - 1}};
    for (const auto& c : cases) {
        EXPECT_EQ(toInteger(QString::fromUtf16(c.text)), c.value)
            << QString::fromUtf16(c.text).toStdString();
    }
}

TEST(IntegerText, RefusesEverythingElseQuotingTheText) {
    const char16_t* bad[] = {u"",           u" ",           u"+",
                             u"-",          u"4 ",          u"1a",
                             u"0x10",       u"1.0",         u"\t3",
                             u"2147483648", u"-2147483649", u"……",
                             u"!!!!!!",     u"٣",           u"99999999999999999999"};
    for (const char16_t* b : bad) {
        const QString text = QString::fromUtf16(b);
        try {
            toInteger(text);
            ADD_FAILURE() << "accepted " << text.toStdString();
        } catch (const velmora::Failure& f) {
            EXPECT_EQ(f.message(), QStringLiteral("'%1' is not a valid integer value").arg(text));
        }
    }
}

TEST(IntegerText, LowByteKeepsEightBits) {
    EXPECT_EQ(velmora::lowByte(256), 0);
    EXPECT_EQ(velmora::lowByte(-1), 255);
    EXPECT_EQ(velmora::lowByte(5), 5);
}

} // namespace
