// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/storage/code_page.h"
#include "core/storage/ini_text.h"

#include <gtest/gtest.h>

using velmora::IniText;

namespace {

QByteArray cp(const char16_t* s) {
    return velmora::CodePage::encode(QString::fromUtf16(s));
}

struct ReadCase {
    const char* name;
    QByteArray text;
    QByteArray section;
    QByteArray key;
    std::optional<QByteArray> expected;
};

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.name;
}

class IniRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(IniRead, FindsTheValue) {
    const ReadCase& c = GetParam();
    EXPECT_EQ(IniText::value(c.text, c.section, c.key), c.expected);
}

const QByteArray kNone;

INSTANTIATE_TEST_SUITE_P(
    Rules, IniRead,
    ::testing::Values(
        ReadCase{"plain", "[s]\r\nk=v\r\n", "s", "k", QByteArray("v")},
        ReadCase{"sectionCaseAscii", "[Users]\nK=v\n", "uSERS", "k", QByteArray("v")},
        ReadCase{"sectionCaseCyrillic", cp(u"[АЙГҮЛ]\nk=v\n"), cp(u"айгүл"), "k", QByteArray("v")},
        ReadCase{"sectionCaseKazakh", cp(u"[ӘСЕЛ]\nk=v\n"), cp(u"әсел"), "k", QByteArray("v")},
        ReadCase{"firstSectionWins", "[s]\nk=1\n[S]\nk=2\n", "s", "k", QByteArray("1")},
        ReadCase{"firstSectionEvenWithoutKey", "[s]\nx=1\n[s]\nk=2\n", "s", "k", std::nullopt},
        ReadCase{"firstKeyWins", "[s]\nk=1\nK=2\n", "s", "k", QByteArray("1")},
        ReadCase{"blanksAroundNamesAndValue", "  [ s ] \n\t k \t= \t v v \t\n", "s", "k",
                 QByteArray("v v")},
        ReadCase{"doubleQuotesRemoved", "[s]\nk=\"a b\"\n", "s", "k", QByteArray("a b")},
        ReadCase{"singleQuotesRemoved", "[s]\nk='a'\n", "s", "k", QByteArray("a")},
        ReadCase{"onePairOnly", "[s]\nk=\"\"a\"\"\n", "s", "k", QByteArray("\"a\"")},
        ReadCase{"loneQuoteStays", "[s]\nk=\"a\n", "s", "k", QByteArray("\"a")},
        ReadCase{"mismatchedQuotesStay", "[s]\nk=\"a'\n", "s", "k", QByteArray("\"a'")},
        ReadCase{"quoteAloneStays", "[s]\nk=\"\n", "s", "k", QByteArray("\"")},
        ReadCase{"splitAtFirstEquals", "[s]\nk=a=b\n", "s", "k", QByteArray("a=b")},
        ReadCase{"lineWithoutEqualsHoldsNoKey", "[s]\nk\nk=2\n", "s", "k", QByteArray("2")},
        ReadCase{"headerRunsToLastBracket", "[a]b] tail\nk=v\n", "a]b", "k", QByteArray("v")},
        ReadCase{"textAfterHeaderIgnored", "[s] ; note\nk=v\n", "s", "k", QByteArray("v")},
        ReadCase{"bracketLineWithoutCloseIsOrdinary", "[s]\n[x=1\nk=v\n", "s", "[x",
                 QByteArray("1")},
        ReadCase{"bracketLineDoesNotEndSection", "[s]\n[x\nk=v\n", "s", "k", QByteArray("v")},
        ReadCase{"lfLines", "[s]\nk=v\n[t]\nk=w\n", "t", "k", QByteArray("w")},
        ReadCase{"loneCrLines", "[s]\rk=v\r[t]\rk=w\r", "t", "k", QByteArray("w")},
        ReadCase{"mixedLineEnds", "[s]\r\na=1\rb=2\nc=3", "s", "c", QByteArray("3")},
        ReadCase{"noFinalLineEnd", "[s]\nk=v", "s", "k", QByteArray("v")},
        ReadCase{"emptyValueIsAValue", "[s]\nk=\n", "s", "k", QByteArray("")},
        ReadCase{"emptyQuotedValue", "[s]\nk=\"\"\n", "s", "k", QByteArray("")},
        ReadCase{"missingKey", "[s]\nk=v\n", "s", "x", std::nullopt},
        ReadCase{"missingSection", "[s]\nk=v\n", "t", "k", std::nullopt},
        ReadCase{"keyOfOtherSection", "[s]\n[t]\nk=v\n", "s", "k", std::nullopt},
        ReadCase{"keysBeforeAnySection", "k=v\n[s]\n", "s", "k", std::nullopt},
        ReadCase{"bracketInsideValue", "[s]\nk=[x]\nj=2\n", "s", "j", QByteArray("2")},
        ReadCase{"emptyText", "", "s", "k", std::nullopt},
        ReadCase{"valueCutAt2047", "[s]\nk=" + QByteArray(3000, 'x') + "\n", "s", "k",
                 QByteArray(2047, 'x')},
        ReadCase{"value2047Whole", "[s]\nk=" + QByteArray(2047, 'y') + "\n", "s", "k",
                 QByteArray(2047, 'y')}),
    [](const ::testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

struct WriteCase {
    const char* name;
    QByteArray before;
    QByteArray section;
    QByteArray key;
    QByteArray value;
    QByteArray after;
};

void PrintTo(const WriteCase& c, std::ostream* os) {
    *os << c.name;
}

class IniWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(IniWrite, ChangesOnlyWhatItMust) {
    const WriteCase& c = GetParam();
    QByteArray text = c.before;
    EXPECT_EQ(IniText::setValue(text, c.section, c.key, c.value), c.before != c.after);
    EXPECT_EQ(text, c.after);
    EXPECT_EQ(IniText::value(text, c.section, c.key), c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, IniWrite,
    ::testing::Values(
        WriteCase{"createsFile", "", "s", "k", "v", "[s]\r\nk=v\r\n"},
        WriteCase{"appendsSection", "[a]\nx=1\n", "s", "k", "v", "[a]\nx=1\n[s]\r\nk=v\r\n"},
        WriteCase{"appendsSectionAfterMissingLineEnd", "[a]\nx=1", "s", "k", "v",
                  "[a]\nx=1\r\n[s]\r\nk=v\r\n"},
        WriteCase{"appendsKeyAtSectionEnd", "[s]\nx=1\n\n[t]\ny=2\n", "S", "k", "v",
                  "[s]\nx=1\nk=v\r\n\n[t]\ny=2\n"},
        WriteCase{"appendsKeyAtFileEnd", "[s]\r\nx=1", "s", "k", "v", "[s]\r\nx=1\r\nk=v\r\n"},
        WriteCase{"appendsKeyAfterBareHeader", "[s]", "s", "k", "v", "[s]\r\nk=v\r\n"},
        WriteCase{"replacesInPlace", "[s]\n  K = old ; x\ny=2\n", "s", "k", "new",
                  "[s]\n  K =new\ny=2\n"},
        WriteCase{"replacesInFirstSectionOnly", "[s]\nk=1\n[s]\nk=2\n", "s", "k", "3",
                  "[s]\nk=3\n[s]\nk=2\n"},
        WriteCase{"keepsCrLines", "[s]\rk=1\r[t]\r", "s", "k", "2", "[s]\rk=2\r[t]\r"},
        WriteCase{"emptyValue", "[s]\nk=1\n", "s", "k", "", "[s]\nk=\n"},
        WriteCase{"sameValueLeavesTextAlone", "[s]\n K =v\n", "S", "k", "v", "[s]\n K =v\n"},
        WriteCase{"sameBytesOnly", "[s]\nk= v\n", "s", "k", "v", "[s]\nk=v\n"}),
    [](const ::testing::TestParamInfo<WriteCase>& info) { return std::string(info.param.name); });

TEST(IniErase, RemovesHeaderAndAllLinesOfTheSection) {
    QByteArray text = "[a]\r\nx=1\r\n[B]\r\ny=2\r\n\r\nz\r\n[c]\r\nw=3\r\n";
    EXPECT_TRUE(IniText::eraseSection(text, "b"));
    EXPECT_EQ(text, QByteArray("[a]\r\nx=1\r\n[c]\r\nw=3\r\n"));
    EXPECT_FALSE(IniText::eraseSection(text, "zzz"));
    EXPECT_EQ(text, QByteArray("[a]\r\nx=1\r\n[c]\r\nw=3\r\n"));
    EXPECT_TRUE(IniText::eraseSection(text, "c"));
    EXPECT_EQ(text, QByteArray("[a]\r\nx=1\r\n"));
}

TEST(IniList, NamesSectionsAndKeysInOrder) {
    const QByteArray text = "[a]\nx=1\n[b]\ny=2\nz=3\nnokey\n";
    EXPECT_EQ(IniText::sectionNames(text), (QList<QByteArray>{"a", "b"}));
    EXPECT_EQ(IniText::keyNames(text, "B"), (QList<QByteArray>{"y", "z"}));
    // Lines beginning with ";" are comments to a listing, as the platform lists keys; a direct
    // read of such a key still finds it.
    const QByteArray commented = "[c]\n;x=1\n  ;y=2\nk;=3\n";
    EXPECT_EQ(IniText::keyNames(commented, "c"), (QList<QByteArray>{"k;"}));
    EXPECT_EQ(IniText::value(commented, "c", ";x"), QByteArray("1"));
}

TEST(IniList, SectionSpansCoverTheTextAndAnswerLikeTheWholeText) {
    const QByteArray text = "x=0\n  [ One ]\nk=1\n[two]\r\nk=2\n[ONE]\nk=3\n[3]";
    const QList<IniText::SectionSpan> spans = IniText::sectionSpans(text);
    ASSERT_EQ(spans.size(), 4);
    EXPECT_EQ(spans[0].name, QByteArrayView("One"));
    EXPECT_EQ(spans[0].lines, QByteArrayView("  [ One ]\nk=1\n"));
    EXPECT_EQ(spans[3].lines, QByteArrayView("[3]"));
    for (const IniText::SectionSpan& span : spans) {
        if (IniText::namesMatch(span.name, "one")) {
            EXPECT_EQ(IniText::value(span.lines, "one", "k"), IniText::value(text, "one", "k"));
            break;
        }
    }
    EXPECT_TRUE(IniText::namesMatch(" two", "TWO "));
    EXPECT_FALSE(IniText::namesMatch("two", "tw"));
    EXPECT_TRUE(IniText::sectionSpans("no sections\n").isEmpty());
}

} // namespace
