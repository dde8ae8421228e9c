// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/storage/code_page.h"
#include "core/storage/failure.h"

#include <QSet>
#include <gtest/gtest.h>
#ifndef Q_OS_WIN
#include <iconv.h>
#endif

using velmora::CodePage;

namespace {

// glibc's own RK1048 converter: the reference for our table (Windows has none to compare with).
#ifndef Q_OS_WIN
char32_t iconvToUnicode(unsigned char byte, bool* ok) {
    iconv_t cd = iconv_open("UTF-32LE", "RK1048");
    char in[1] = {static_cast<char>(byte)};
    char out[8] = {};
    char* inp = in;
    char* outp = out;
    size_t inLeft = 1;
    size_t outLeft = sizeof out;
    const size_t r = iconv(cd, &inp, &inLeft, &outp, &outLeft);
    iconv_close(cd);
    *ok = r != size_t(-1) && outLeft == 4;
    char32_t c = 0;
    std::memcpy(&c, out, 4);
    return c;
}

TEST(CodePage, EveryByteMatchesGlibcRk1048) {
    for (int b = 0; b < 256; ++b) {
        bool ok = false;
        const char32_t expected = iconvToUnicode(static_cast<unsigned char>(b), &ok);
        if (!ok) {
            // Unassigned in the code page: kept as the C1 control of the same number.
            EXPECT_EQ(CodePage::toUnicode(static_cast<unsigned char>(b)), char16_t(b)) << b;
            continue;
        }
        EXPECT_EQ(char32_t(CodePage::toUnicode(static_cast<unsigned char>(b))), expected)
            << "byte " << b;
    }
}
#endif

TEST(CodePage, EveryByteRoundTrips) {
    QByteArray all(256, '\0');
    for (int b = 0; b < 256; ++b) {
        all[b] = static_cast<char>(b);
    }
    EXPECT_EQ(CodePage::encode(CodePage::decode(all)), all);
}

TEST(CodePage, RussianIsWindows1251AndKazakhLettersAreKept) {
    EXPECT_EQ(CodePage::encode(u"Привет"), QByteArray("\xCF\xF0\xE8\xE2\xE5\xF2"));
    const QString kazakh = QStringLiteral("әғқңөұүһі ӘҒҚҢӨҰҮҺІ");
    EXPECT_EQ(CodePage::decode(CodePage::encode(kazakh)), kazakh);
    EXPECT_EQ(CodePage::encode(kazakh).size(), kazakh.size());
}

TEST(CodePage, MissingCharacterIsAFailureNamingIt) {
    EXPECT_FALSE(CodePage::canEncode(u"日本"));
    EXPECT_EQ(CodePage::firstUnencodable(u"ab€日"), 3);
    try {
        CodePage::encode(u"Ali 日");
        FAIL() << "no failure";
    } catch (const velmora::Failure& f) {
        EXPECT_TRUE(f.message().contains(QStringLiteral("日"))) << f.message().toStdString();
        EXPECT_TRUE(f.message().contains(QStringLiteral("U+65E5"))) << f.message().toStdString();
    }
    // A character outside the Basic Multilingual Plane is named whole.
    EXPECT_EQ(velmora::unencodableMessage(u"ab😀", 2),
              QStringLiteral("Символ «😀» (U+1F600) нельзя сохранить в файлах курса"));
}

// Every character up to the table's highest one, U+2122: it can be encoded exactly when one of
// the 256 bytes reads as it, and then it reads back unchanged; every other one is refused by
// each of the three ways of asking, so no two texts share their bytes.
TEST(CodePage, ACharacterIsEncodedExactlyWhenItReadsBackUnchanged) {
    QSet<char16_t> table;
    for (int b = 0; b < 256; ++b) {
        table.insert(CodePage::toUnicode(static_cast<unsigned char>(b)));
    }
    int encodable = 0;
    for (char16_t c = 0; c <= 0x2122; ++c) {
        const QString text = QStringLiteral("a") + QChar(c);
        SCOPED_TRACE(velmora::characterWithCode(text, 1).toStdString());
        const bool inTable = table.contains(c);
        ASSERT_EQ(CodePage::canEncode(text), inTable);
        ASSERT_EQ(CodePage::firstUnencodable(text), inTable ? -1 : 1);
        if (inTable) {
            ASSERT_EQ(CodePage::decode(CodePage::encode(text)), text);
            ++encodable;
        } else {
            ASSERT_THROW(CodePage::encode(text), velmora::Failure);
        }
    }
    EXPECT_EQ(encodable, 256);
}

TEST(CodePage, FoldsAsciiCyrillicAndKazakhCapitals) {
    const auto fold = [](QStringView s) {
        const QByteArray b = CodePage::encode(s);
        return QChar(CodePage::toUnicode(CodePage::fold(static_cast<unsigned char>(b[0]))));
    };
    EXPECT_EQ(fold(u"A"), QChar(u'a'));
    EXPECT_EQ(fold(u"Я"), QChar(u'я'));
    EXPECT_EQ(fold(u"Ё"), QChar(u'ё'));
    EXPECT_EQ(fold(u"Ә"), QChar(u'ә'));
    EXPECT_EQ(fold(u"Ұ"), QChar(u'ұ'));
    EXPECT_EQ(fold(u"І"), QChar(u'і'));
    EXPECT_EQ(fold(u"1"), QChar(u'1'));
    EXPECT_EQ(fold(u"ә"), QChar(u'ә'));
}

} // namespace
