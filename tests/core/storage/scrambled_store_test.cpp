// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/storage/code_page.h"
#include "core/storage/failure.h"
#include "core/storage/ini_text.h"
#include "core/storage/scrambled_store.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace velmora;
using velmora::test::TempFolder;

namespace {

const QString kRegister = QStringLiteral("\\users.ini");

TEST(Crypt, TwiceGivesBackTheTextAndAppends) {
    QByteArray once;
    crypt("Parol 123", kScrambleKey, once);
    EXPECT_NE(once, QByteArray("Parol 123"));
    QByteArray twice("prefix");
    crypt(once, kScrambleKey, twice);
    EXPECT_EQ(twice, QByteArray("prefixParol 123"));
    QByteArray empty;
    crypt(QByteArray(), kScrambleKey, empty);
    EXPECT_TRUE(empty.isEmpty());
}

TEST(Crypt, UsesOnlyTheLowByteOfTheKey) {
    QByteArray a;
    QByteArray b;
    crypt("abc", kScrambleKey, a);
    crypt("abc", kScrambleKey + 0x300, b);
    EXPECT_EQ(a, b);
}

// The characters people type must never scramble to a byte an INI line cannot hold whole.
TEST(Crypt, KeyKeepsEveryCommonCharacterReadable) {
    QString set = QStringLiteral("0123456789 .,:;!?-()«»\"'№/");
    for (char16_t c = u'a'; c <= u'z'; ++c) {
        set += QChar(c);
        set += QChar(c - 32);
    }
    for (char16_t c = 0x410; c <= 0x44F; ++c) {
        set += QChar(c);
    }
    set += QStringLiteral("ЁёӘәҒғҚқҢңӨөҰұҮүҺһІі");
    const QByteArray bytes = CodePage::encode(set);
    const QByteArray forbidden("\0\t\n\r \"'", 7);
    QByteArray out;
    crypt(bytes, kScrambleKey, out);
    for (qsizetype i = 0; i < out.size(); ++i) {
        EXPECT_FALSE(forbidden.contains(out[i])) << "character " << set.mid(i, 1).toStdString();
    }
}

TEST(ScrambledStore, WritesScrambledAndReadsPlain) {
    const TempFolder folder;
    writeini(QStringLiteral("Айгүл"), QStringLiteral("password"), QStringLiteral("Құпия сөз 1"),
             kRegister);
    EXPECT_EQ(readini(QStringLiteral("айгүл"), QStringLiteral("PASSWORD"), kRegister),
              QStringLiteral("Құпия сөз 1"));
    const QByteArray raw = folder.read(QStringLiteral("users.ini"));
    EXPECT_TRUE(raw.startsWith(CodePage::encode(u"[Айгүл]\r\npassword=")));
    EXPECT_FALSE(raw.contains(CodePage::encode(u"Құпия")));
}

TEST(ScrambledStore, MissingValuesReadAsTheUnscrambledMarker) {
    const TempFolder folder;
    const QString missing = missingValue();
    EXPECT_EQ(missing.size(), 6);
    EXPECT_NE(missing, QStringLiteral("!!!!!!"));
    EXPECT_EQ(readini(QStringLiteral("s"), QStringLiteral("k"), kRegister), missing); // no file
    writeini(QStringLiteral("s"), QStringLiteral("k"), QString(), kRegister);
    EXPECT_EQ(readini(QStringLiteral("s"), QStringLiteral("k"), kRegister),
              QString()); // empty is a value
    EXPECT_EQ(readini(QStringLiteral("s"), QStringLiteral("other"), kRegister), missing);
    EXPECT_EQ(readini(QStringLiteral("t"), QStringLiteral("k"), kRegister), missing);
}

TEST(ScrambledStore, RefusesValuesThatWouldNotReadBackWhole) {
    const TempFolder folder;
    // Bytes that scramble to CR, LF, NUL, or to a blank or quote at an edge.
    const auto plainOf = [](char scrambledByte) {
        QByteArray plain;
        crypt(QByteArray(1, scrambledByte), kScrambleKey, plain);
        return CodePage::decode(plain);
    };
    const QString bad[] = {QStringLiteral("a") + plainOf('\r') + QStringLiteral("b"),
                           QStringLiteral("a") + plainOf('\n'),
                           plainOf('\0'),
                           plainOf(' ') + QStringLiteral("x"),
                           QStringLiteral("x") + plainOf('"'),
                           plainOf('\'') + QStringLiteral("x"),
                           QStringLiteral("x") + plainOf('\t')};
    for (const QString& value : bad) {
        EXPECT_THROW(writeini(QStringLiteral("s"), QStringLiteral("k"), value, kRegister), Failure);
    }
    EXPECT_THROW(
        writeini(QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("日本"), kRegister),
        Failure);
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("users.ini"))));
    // Inside a value the same bytes are harmless.
    const QString inner = QStringLiteral("x") + plainOf(' ') + plainOf('"') + QStringLiteral("y");
    writeini(QStringLiteral("s"), QStringLiteral("k"), inner, kRegister);
    EXPECT_EQ(readini(QStringLiteral("s"), QStringLiteral("k"), kRegister), inner);
}

TEST(ScrambledStore, EraseRemovesTheSectionAndNeverCreatesAFile) {
    const TempFolder folder;
    eraseini(QStringLiteral("s"), kRegister);
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("users.ini"))));
    writeini(QStringLiteral("a"), QStringLiteral("k"), QStringLiteral("1"), kRegister);
    writeini(QStringLiteral("b"), QStringLiteral("k"), QStringLiteral("2"), kRegister);
    eraseini(QStringLiteral("A"), kRegister);
    EXPECT_EQ(readini(QStringLiteral("a"), QStringLiteral("k"), kRegister), missingValue());
    EXPECT_EQ(readini(QStringLiteral("b"), QStringLiteral("k"), kRegister), QStringLiteral("2"));
    const QByteArray before = folder.read(QStringLiteral("users.ini"));
    eraseini(QStringLiteral("zzz"), kRegister);
    EXPECT_EQ(folder.read(QStringLiteral("users.ini")), before);
}

TEST(ScrambledStore, PathsFollowTheCurrentDirectoryAtEachCall) {
    const TempFolder folder;
    QDir().mkpath(QStringLiteral("data/tests"));
    writeini(QStringLiteral("1"), QStringLiteral("q"), QStringLiteral("Сұрақ"),
             QStringLiteral("\\data\\tests\\test1.ini"));
    EXPECT_TRUE(QFile::exists(folder.file(QStringLiteral("data/tests/test1.ini"))));
    QDir::setCurrent(folder.file(QStringLiteral("data")));
    EXPECT_EQ(
        readini(QStringLiteral("1"), QStringLiteral("q"), QStringLiteral("\\tests\\test1.ini")),
        QStringLiteral("Сұрақ"));
}

TEST(ScrambledStore, LongCurrentDirectoryIsUsedWhole) {
    const TempFolder folder;
    const QString deep = folder.file(QString(70, QLatin1Char('d')) + QStringLiteral("/") +
                                     QString(40, QLatin1Char('e')));
    ASSERT_TRUE(QDir().mkpath(deep));
    QDir::setCurrent(deep);
    writeini(QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("v"), kRegister);
    EXPECT_TRUE(QFile::exists(deep + QStringLiteral("/users.ini")));
    EXPECT_EQ(readini(QStringLiteral("s"), QStringLiteral("k"), kRegister), QStringLiteral("v"));
}

TEST(ScrambledStore, FileNamesMatchWithoutLetterCase) {
    const TempFolder folder;
    QDir().mkpath(QStringLiteral("Data/Tests"));
    writeini(QStringLiteral("1"), QStringLiteral("q"), QStringLiteral("Q1"),
             QStringLiteral("\\Data\\Tests\\Test1.ini"));
    EXPECT_EQ(readini(QStringLiteral("1"), QStringLiteral("q"),
                      QStringLiteral("\\data\\tests\\test1.ini")),
              QStringLiteral("Q1"));
    writeini(QStringLiteral("1"), QStringLiteral("a1"), QStringLiteral("A1"),
             QStringLiteral("\\DATA\\tests\\TEST1.INI"));
    EXPECT_EQ(QDir(folder.file(QStringLiteral("Data/Tests"))).entryList(QDir::Files),
              QStringList{QStringLiteral("Test1.ini")});
}

TEST(ScrambledStore, RefusesValuesLongerThanAReadReturnsAndNamesThatBreakTheLine) {
    const TempFolder folder;
    const QString longest(IniText::kMaxValueBytes, QLatin1Char('x'));
    writeini(QStringLiteral("s"), QStringLiteral("k"), longest, kRegister);
    EXPECT_EQ(readini(QStringLiteral("s"), QStringLiteral("k"), kRegister), longest);
    const QByteArray before = folder.read(QStringLiteral("users.ini"));
    EXPECT_THROW(
        writeini(QStringLiteral("s"), QStringLiteral("k"), longest + QLatin1Char('x'), kRegister),
        Failure);
    for (const QString& key :
         {QStringLiteral("a=b"), QStringLiteral(" [x]"), QStringLiteral("a\nb")}) {
        EXPECT_THROW(writeini(QStringLiteral("s"), key, QStringLiteral("v"), kRegister), Failure)
            << key.toStdString();
    }
    EXPECT_THROW(
        writeini(QStringLiteral("a\r\nb"), QStringLiteral("k"), QStringLiteral("v"), kRegister),
        Failure);
    EXPECT_EQ(folder.read(QStringLiteral("users.ini")), before);
    // Brackets and "=" are fine in a section's name.
    writeini(QStringLiteral("[a]=b"), QStringLiteral("k"), QStringLiteral("v"), kRegister);
    EXPECT_EQ(readini(QStringLiteral("[A]=B"), QStringLiteral("k"), kRegister),
              QStringLiteral("v"));
}

#ifdef Q_OS_UNIX
// The file's identity: Windows has no inode to tell a replaced file from the same one.
ino_t inodeOf(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

// A value written over itself leaves the file alone (a close writes back every grade, most of them
// unchanged); a changed value replaces the file.
TEST(ScrambledStore, WritingAValueOverItselfLeavesTheFileAlone) {
    const TempFolder folder;
    const QString path = folder.file(QStringLiteral("users.ini"));
    writeini(QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("3"), kRegister);
    const ino_t first = inodeOf(path);
    writeini(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("3"), kRegister);
    EXPECT_EQ(inodeOf(path), first);
    writeini(QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("4"), kRegister);
    EXPECT_NE(inodeOf(path), first);
    EXPECT_EQ(readini(QStringLiteral("s"), QStringLiteral("k"), kRegister), QStringLiteral("4"));
}
#endif

TEST(ScrambledStore, EraseFailsOnlyWhereAWriteWasNeeded) {
    const TempFolder folder;
    try {
        eraseini(QStringLiteral("s"), QStringLiteral("\\nowhere\\users.ini"));
        ADD_FAILURE() << "erased in a missing folder";
    } catch (const Failure& f) {
        EXPECT_EQ(f.message(), QStringLiteral("Unable to write to %1")
                                   .arg(folder.file(QStringLiteral("nowhere/users.ini"))));
    }
    writeini(QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("v"), kRegister);
    const QString path = folder.file(QStringLiteral("users.ini"));
    QFile::setPermissions(path, QFileDevice::ReadOwner);
    eraseini(QStringLiteral("missing"), kRegister); // nothing to erase, nothing to write
    EXPECT_THROW(eraseini(QStringLiteral("s"), kRegister), Failure);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(readini(QStringLiteral("s"), QStringLiteral("k"), kRegister), QStringLiteral("v"));
}

TEST(ScrambledStoreBatch, ReadsSeveralValuesInOrder) {
    const TempFolder folder;
    writeiniValues(QStringLiteral("Ivan"),
                   {{QStringLiteral("a"), QStringLiteral("1")}, {QStringLiteral("b"), QString()}},
                   kRegister);
    EXPECT_EQ(readiniValues(QStringLiteral("IVAN"),
                            {QStringLiteral("B"), QStringLiteral("c"), QStringLiteral("a")},
                            kRegister),
              (QStringList{QString(), missingValue(), QStringLiteral("1")}));
    EXPECT_EQ(readiniValues(QStringLiteral("nobody"), {QStringLiteral("a")}, kRegister),
              QStringList{missingValue()});
}

TEST(ScrambledStoreBatch, WritesAllValuesOrNone) {
    const TempFolder folder;
    writeini(QStringLiteral("s"), QStringLiteral("b"), QStringLiteral("old"), kRegister);
    const QByteArray before = folder.read(QStringLiteral("users.ini"));
    const IniValues refused{{QStringLiteral("a"), QStringLiteral("1")},
                            {QStringLiteral("b"), QStringLiteral("日本")}};
    EXPECT_THROW(writeiniValues(QStringLiteral("s"), refused, kRegister), Failure);
    EXPECT_EQ(folder.read(QStringLiteral("users.ini")), before);

    writeiniValues(
        QStringLiteral("S"),
        {{QStringLiteral("a"), QStringLiteral("1")}, {QStringLiteral("B"), QStringLiteral("new")}},
        kRegister);
    EXPECT_EQ(readini(QStringLiteral("s"), QStringLiteral("a"), kRegister), QStringLiteral("1"));
    EXPECT_EQ(readini(QStringLiteral("s"), QStringLiteral("b"), kRegister), QStringLiteral("new"));
    EXPECT_EQ(folder.read(QStringLiteral("users.ini")).count('['),
              1); // replaced in place, no second section
}

TEST(ScrambledStoreBatch, NewSectionIsCreatedOnlyOnce) {
    const TempFolder folder;
    const IniValues values{{QStringLiteral("password"), QStringLiteral("p")},
                           {QStringLiteral("test1"), QStringLiteral("1")}};
    EXPECT_TRUE(writeiniNewSection(QStringLiteral("Әсел"), values, kRegister));
    const QByteArray after = folder.read(QStringLiteral("users.ini"));
    EXPECT_TRUE(after.startsWith(CodePage::encode(u"[Әсел]\r\npassword=")));
    EXPECT_FALSE(writeiniNewSection(
        QStringLiteral("ӘСЕЛ"), {{QStringLiteral("password"), QStringLiteral("x")}}, kRegister));
    EXPECT_EQ(folder.read(QStringLiteral("users.ini")), after);
    EXPECT_EQ(readini(QStringLiteral("әсел"), QStringLiteral("test1"), kRegister),
              QStringLiteral("1"));
}

TEST(ScrambledStoreBatch, NewSectionStartsOnALineOfItsOwn) {
    const TempFolder folder;
    folder.write(QStringLiteral("users.ini"), "[old]\r\nk=v");
    EXPECT_TRUE(writeiniNewSection(QStringLiteral("new"),
                                   {{QStringLiteral("a"), QStringLiteral("1")}}, kRegister));
    EXPECT_TRUE(folder.read(QStringLiteral("users.ini")).startsWith("[old]\r\nk=v\r\n[new]\r\na="));
    EXPECT_EQ(readini(QStringLiteral("new"), QStringLiteral("a"), kRegister), QStringLiteral("1"));
    EXPECT_EQ(readini(QStringLiteral("old"), QStringLiteral("k"), kRegister).size(), 1);
}

} // namespace
