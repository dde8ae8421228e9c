#include "core/access/user_grades.h"
#include "core/storage/scrambled_store.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::TempFolder;

namespace {

void store(const QString& user, int test, const QString& value) {
    writeini(user, UserGrades::key(test), value, UserGrades::registerPath());
}

TEST(UserGrades, LoadsAllTwelveKeepingTheLowEightBits) {
    const TempFolder folder;
    const QString values[12] = {QStringLiteral("5"), QStringLiteral("256"), QStringLiteral("-1"),
                                QStringLiteral("3"), QStringLiteral("0"),   QStringLiteral("0"),
                                QStringLiteral("0"), QStringLiteral("0"),   QStringLiteral("0"),
                                QStringLiteral("4"), QStringLiteral("0"),   QStringLiteral("513")};
    for (int n = 1; n <= 12; ++n) {
        store(QStringLiteral("Айгүл"), n, values[n - 1]);
    }
    const GradeLoad load = UserGrades::load(QStringLiteral("АЙГҮЛ"));
    EXPECT_FALSE(load.failure);
    EXPECT_EQ(load.values, (QList<quint8>{5, 0, 255, 3, 0, 0, 0, 0, 0, 4, 0, 1}));
}

TEST(UserGrades, StopsAtTheFirstValueThatIsNotANumber) {
    const TempFolder folder;
    store(QStringLiteral("u"), 1, QStringLiteral("4"));
    store(QStringLiteral("u"), 2, QStringLiteral("2"));
    store(QStringLiteral("u"), 3, QStringLiteral("три"));
    store(QStringLiteral("u"), 4, QStringLiteral("5"));
    const GradeLoad load = UserGrades::load(QStringLiteral("u"));
    EXPECT_EQ(load.values, (QList<quint8>{4, 2}));
    ASSERT_TRUE(load.failure);
    EXPECT_EQ(load.failure->message(), QStringLiteral("'три' is not a valid integer value"));
}

TEST(UserGrades, AMissingKeyOrSectionFailsWithTheMissingValue) {
    const TempFolder folder;
    const QString expected =
        QStringLiteral("'%1' is not a valid integer value").arg(missingValue());
    GradeLoad load = UserGrades::load(QStringLiteral("nobody")); // no register at all
    EXPECT_TRUE(load.values.isEmpty());
    ASSERT_TRUE(load.failure);
    EXPECT_EQ(load.failure->message(), expected);

    for (int n = 1; n <= 10; ++n) {
        store(QStringLiteral("partial"), n, QStringLiteral("1"));
    }
    load = UserGrades::load(QStringLiteral("partial"));
    EXPECT_EQ(load.values.size(), 10);
    ASSERT_TRUE(load.failure);
    EXPECT_EQ(load.failure->message(), expected);
    EXPECT_FALSE(UserGrades::load(QStringLiteral("partial"), 10).failure);
}

} // namespace
