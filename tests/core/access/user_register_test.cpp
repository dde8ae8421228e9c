// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/access/user_register.h"
#include "core/storage/code_page.h"
#include "core/storage/failure.h"
#include "core/storage/scrambled_store.h"
#include "support/temp_folder.h"

#include <QFile>
#include <algorithm>
#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::TempFolder;

namespace {

// Grade slots of the shipped course ("test1" … "test12"), the course of these folders.
constexpr int kShippedGradeSlots = 12;
// Tests shown on the shipped course's progress screen.
constexpr int kShippedShownTests = 10;

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
    const QString values[kShippedGradeSlots] = {
        QStringLiteral("5"), QStringLiteral("256"), QStringLiteral("-1"), QStringLiteral("3"),
        QStringLiteral("0"), QStringLiteral("0"),   QStringLiteral("0"),  QStringLiteral("0"),
        QStringLiteral("0"), QStringLiteral("4"),   QStringLiteral("0"),  QStringLiteral("513")};
    for (int n = 1; n <= kShippedGradeSlots; ++n) {
        store(QStringLiteral("Айгүл"), n, values[n - 1]);
    }
    const StoredGrades stored = UserRegister::readGrades(QStringLiteral("АЙГҮЛ"));
    EXPECT_TRUE(stored.found());
    EXPECT_EQ(stored.count(), kShippedGradeSlots);
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

    for (int n = 1; n <= kShippedShownTests; ++n) {
        store(QStringLiteral("partial"), n, QStringLiteral("1"));
    }
    taken = takeAll(UserRegister::readGrades(QStringLiteral("partial")));
    EXPECT_EQ(taken.values.size(), kShippedShownTests);
    EXPECT_EQ(taken.failure, expected);
    taken = takeAll(UserRegister::readGrades(QStringLiteral("partial"), kShippedShownTests));
    EXPECT_EQ(taken.failure, QString());
    EXPECT_EQ(taken.values.size(), kShippedShownTests);
}

// A section counts as found when it holds any key, a password alone included; a header without
// keys does not.
TEST(UserRegisterGrades, FoundWhenTheSectionHoldsAnyKey) {
    const TempFolder folder;
    writeini(QStringLiteral("Ivan"), QStringLiteral("password"), QStringLiteral("p"),
             UserRegister::path());
    const StoredGrades ivan = UserRegister::readGrades(QStringLiteral("ivan"), kShippedShownTests);
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

// A course's grade slots: registration writes exactly test1 … test<slots>, and writing grades back
// rewrites the same keys.
TEST(UserRegisterSlots, RegistrationAndWriteBackCoverTheCoursesSlots) {
    const TempFolder folder;
    for (const int slots : {3, kMaxGradeSlots}) {
        const QString name = QStringLiteral("s%1").arg(slots);
        ASSERT_TRUE(UserRegister::addStudent(name, QStringLiteral("p"),
                                             QDateTime::currentDateTime(), slots));
        QStringList expected{QStringLiteral("password")};
        for (int n = 1; n <= slots; ++n) {
            expected.append(UserRegister::testKey(n));
        }
        expected.append(UserRegister::registeredKey());
        const QList<IniSectionRead> sections = readiniSections(
            expected + QStringList{UserRegister::testKey(slots + 1)}, UserRegister::path());
        const auto section = std::find_if(sections.begin(), sections.end(),
                                          [&](const IniSectionRead& s) { return s.name == name; });
        ASSERT_NE(section, sections.end()) << slots;
        EXPECT_EQ(section->values.count(std::nullopt), 1) << slots; // only test<slots + 1>
        EXPECT_EQ(section->values[1], std::optional(QStringLiteral("1"))) << slots;
        EXPECT_EQ(section->values[slots], std::optional(QStringLiteral("0"))) << slots;
        Grades grades{};
        grades[static_cast<size_t>(slots)] = 4;
        if (slots < kMaxGradeSlots) {
            grades[static_cast<size_t>(slots) + 1] = 5; // beyond the course: never written
        }
        UserRegister::writeGrades(name, grades, slots);
        EXPECT_EQ(UserRegister::readGrades(name, slots + 1).grade(slots), std::optional<quint8>(4));
        EXPECT_EQ(UserRegister::readGrades(name, slots + 1).grade(slots + 1), std::nullopt);
    }
}

// The whole register in one read, as the group journal reads it: every section once (the first of
// a name whatever its letter case), scrambled values read plain, the moment of registration when
// the section keeps a readable one.
TEST(UserRegisterSections, ReadsEverySectionOnceWithItsGradesAndMoment) {
    const TempFolder folder;
    const QDateTime moment(QDate(2025, 2, 3), QTime(14, 5, 9));
    ASSERT_TRUE(UserRegister::addStudent(QStringLiteral("Айгүл"), QStringLiteral("p"), moment, 3));
    store(QStringLiteral("Айгүл"), 2, QStringLiteral("5"));
    store(QStringLiteral("Teacher"), 1, QStringLiteral("4")); // the administrator: no password
    writeini(QStringLiteral("Old"), QStringLiteral("password"), QStringLiteral("q"),
             UserRegister::path());
    writeini(QStringLiteral("Old"), UserRegister::registeredKey(), QStringLiteral("вчера"),
             UserRegister::path());
    QByteArray text = folder.read(QStringLiteral("users.ini"));
    text.append(CodePage::encode(
        u"[АЙГҮЛ]\r\ntest1=x\r\n")); // a later section of the same name is never read
    folder.write(QStringLiteral("users.ini"), text);

    const QList<RegisteredUser> users = UserRegister::readAll(3);
    ASSERT_EQ(users.size(), 3);
    struct Row {
        QString name;
        bool student;
        QList<std::optional<quint8>> grades;
        std::optional<QDateTime> registered;
    };
    const Row rows[] = {
        {QStringLiteral("Айгүл"), true, {1, 5, 0}, moment},
        {QStringLiteral("Teacher"), false, {4, std::nullopt, std::nullopt}, std::nullopt},
        {QStringLiteral("Old"), true, {std::nullopt, std::nullopt, std::nullopt}, std::nullopt},
    };
    for (qsizetype i = 0; i < users.size(); ++i) {
        const RegisteredUser& user = users[i];
        EXPECT_EQ(user.name, rows[i].name);
        EXPECT_EQ(user.student, rows[i].student) << i;
        ASSERT_EQ(user.grades.count(), 3) << i;
        for (int test = 1; test <= 3; ++test) {
            EXPECT_EQ(user.grades.grade(test), rows[i].grades[test - 1]) << i << " " << test;
        }
        EXPECT_EQ(user.registered, rows[i].registered) << i;
    }
    ASSERT_TRUE(QFile::remove(QStringLiteral("users.ini")));
    EXPECT_TRUE(UserRegister::readAll(3).isEmpty());
}

} // namespace
