// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/access/user_register.h"
#include "core/storage/failure.h"
#include "core/storage/scrambled_store.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::TempFolder;

namespace {

void store(const QString& user, int test, const QString& value) {
    writeini(user, UserRegister::testKey(test), value, UserRegister::path());
}

// Takes the grades in order as the program applies them: the values taken before a failure, and
// the failure's text (empty when there was none).
struct Taken {
    QList<quint8> values;
    QString failure;
};

Taken takeAll(const StoredGrades& stored) {
    Taken taken;
    try {
        stored.takeInOrder([&](int test, quint8 grade) {
            EXPECT_EQ(test, taken.values.size() + 1);
            taken.values.append(grade);
        });
    } catch (const Failure& failure) {
        taken.failure = failure.message();
    }
    return taken;
}

TEST(UserRegisterGrades, ReadsAllTwelveKeepingTheLowEightBits) {
    const TempFolder folder;
    const QString values[kTestSlots] = {
        QStringLiteral("5"), QStringLiteral("256"), QStringLiteral("-1"), QStringLiteral("3"),
        QStringLiteral("0"), QStringLiteral("0"),   QStringLiteral("0"),  QStringLiteral("0"),
        QStringLiteral("0"), QStringLiteral("4"),   QStringLiteral("0"),  QStringLiteral("513")};
    for (int n = 1; n <= kTestSlots; ++n) {
        store(QStringLiteral("Айгүл"), n, values[n - 1]);
    }
    const StoredGrades stored = UserRegister::readGrades(QStringLiteral("АЙГҮЛ"));
    EXPECT_TRUE(stored.found());
    EXPECT_EQ(stored.count(), kTestSlots);
    const Taken taken = takeAll(stored);
    EXPECT_EQ(taken.failure, QString());
    EXPECT_EQ(taken.values, (QList<quint8>{5, 0, 255, 3, 0, 0, 0, 0, 0, 4, 0, 1}));
    EXPECT_EQ(stored.grade(12), std::optional<quint8>(1));
}

TEST(UserRegisterGrades, StopAtTheFirstValueThatIsNotANumber) {
    const TempFolder folder;
    store(QStringLiteral("u"), 1, QStringLiteral("4"));
    store(QStringLiteral("u"), 2, QStringLiteral("2"));
    store(QStringLiteral("u"), 3, QStringLiteral("три"));
    store(QStringLiteral("u"), 4, QStringLiteral("5"));
    const StoredGrades stored = UserRegister::readGrades(QStringLiteral("u"));
    const Taken taken = takeAll(stored);
    EXPECT_EQ(taken.values, (QList<quint8>{4, 2}));
    EXPECT_EQ(taken.failure, QStringLiteral("'три' is not a valid integer value"));
    // One grade at a time, a damaged one is only itself missing.
    EXPECT_EQ(stored.grade(3), std::nullopt);
    EXPECT_EQ(stored.grade(4), std::optional<quint8>(5));
}

TEST(UserRegisterGrades, AMissingKeyOrSectionFailsWithTheMissingValue) {
    const TempFolder folder;
    const QString expected =
        QStringLiteral("'%1' is not a valid integer value").arg(missingValue());
    StoredGrades stored = UserRegister::readGrades(QStringLiteral("nobody")); // no register at all
    EXPECT_FALSE(stored.found());
    Taken taken = takeAll(stored);
    EXPECT_TRUE(taken.values.isEmpty());
    EXPECT_EQ(taken.failure, expected);

    for (int n = 1; n <= kShownGrades; ++n) {
        store(QStringLiteral("partial"), n, QStringLiteral("1"));
    }
    taken = takeAll(UserRegister::readGrades(QStringLiteral("partial")));
    EXPECT_EQ(taken.values.size(), kShownGrades);
    EXPECT_EQ(taken.failure, expected);
    taken = takeAll(UserRegister::readGrades(QStringLiteral("partial"), kShownGrades));
    EXPECT_EQ(taken.failure, QString());
    EXPECT_EQ(taken.values.size(), kShownGrades);
}

// A section counts as found when it holds any key, a password alone included; a header without
// keys does not.
TEST(UserRegisterGrades, FoundWhenTheSectionHoldsAnyKey) {
    const TempFolder folder;
    writeini(QStringLiteral("Ivan"), QStringLiteral("password"), QStringLiteral("p"),
             UserRegister::path());
    const StoredGrades ivan = UserRegister::readGrades(QStringLiteral("ivan"), kShownGrades);
    EXPECT_TRUE(ivan.found());
    EXPECT_EQ(ivan.grade(1), std::nullopt);
    folder.write(QStringLiteral("users.ini"), "[Empty]\r\n[Other]\r\ntest1=x\r\n");
    EXPECT_FALSE(UserRegister::readGrades(QStringLiteral("empty")).found());
    EXPECT_TRUE(UserRegister::readGrades(QStringLiteral("other")).found());
}

// All grades come from one read: what the file holds afterwards does not change them.
TEST(UserRegisterGrades, AreReadInOneReadOfTheFile) {
    const TempFolder folder;
    ASSERT_TRUE(UserRegister::addStudent(QStringLiteral("Ivan"), QStringLiteral("p")));
    const StoredGrades stored = UserRegister::readGrades(QStringLiteral("Ivan"));
    store(QStringLiteral("Ivan"), 1, QStringLiteral("5"));
    store(QStringLiteral("Ivan"), 2, QStringLiteral("x"));
    const Taken taken = takeAll(stored);
    EXPECT_EQ(taken.failure, QString());
    EXPECT_EQ(taken.values, (QList<quint8>{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(UserRegisterGrades, WriteGradeWritesOneKeyAsDecimalText) {
    const TempFolder folder;
    ASSERT_TRUE(UserRegister::addStudent(QStringLiteral("Ivan"), QStringLiteral("p")));
    UserRegister::writeGrade(QStringLiteral("IVAN"), 7, 4);
    EXPECT_EQ(readini(QStringLiteral("ivan"), QStringLiteral("test7"), UserRegister::path()),
              QStringLiteral("4"));
    EXPECT_EQ(UserRegister::readGrades(QStringLiteral("Ivan")).grade(7), std::optional<quint8>(4));
    EXPECT_EQ(readini(QStringLiteral("ivan"), QStringLiteral("password"), UserRegister::path()),
              QStringLiteral("p"));
}

} // namespace
