// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exam/test_file.h"
#include "core/storage/failure.h"
#include "core/storage/scrambled_store.h"
#include "support/temp_folder.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::TempFolder;

namespace {

void store(const QString& section, const QString& key, const QString& value,
           const QString& path = QStringLiteral("\\data\\tests\\test1.ini")) {
    writeini(section, key, value, path);
}

TEST(TestFile, ReadsQuestionsAndTotalFromTheTestsFolder) {
    const TempFolder folder;
    QDir().mkpath(QStringLiteral("data/tests"));
    store(QStringLiteral("2"), QStringLiteral("q"), QStringLiteral("Что такое ERP?"));
    const QString answers[] = {QStringLiteral("A) Система"), QStringLiteral("B) Сеть "),
                               QStringLiteral("C) Язык"), QStringLiteral("D) Протокол"),
                               QStringLiteral("E) Ничего")};
    for (int i = 0; i < 5; ++i) {
        store(QStringLiteral("2"), QStringLiteral("a%1").arg(i + 1), answers[i]);
    }
    store(QStringLiteral("2"), QStringLiteral("ap"), QStringLiteral("2"));
    store(QStringLiteral("inf"), QStringLiteral("vsego"), QStringLiteral("7"));

    const TestFile file = TestFile::named(QStringLiteral("test1"));
    EXPECT_EQ(file.relativePath(), QStringLiteral("\\data\\tests\\test1.ini"));
    const Question q = file.question(2);
    EXPECT_EQ(q.text, QStringLiteral("Что такое ERP?"));
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(q.answers[i], answers[i]);
    }
    EXPECT_EQ(q.correct, QStringLiteral("2"));
    EXPECT_EQ(q.correctLetter(), QChar(u'B'));
    EXPECT_EQ(file.totalText(), QStringLiteral("7"));
    EXPECT_EQ(file.total(), 7);
    EXPECT_EQ(file.sectionNames(), (QStringList{QStringLiteral("2"), QStringLiteral("inf")}));
}

TEST(TestFile, MissingValuesReadAsTheStoreMarkerAndMatchNoAnswer) {
    const TempFolder folder;
    QDir().mkpath(QStringLiteral("data/tests"));
    const TestFile absent = TestFile::named(QStringLiteral("test9"));
    const Question q = absent.question(1);
    EXPECT_EQ(q.text, missingValue());
    EXPECT_EQ(q.answers[4], missingValue());
    for (int position = 1; position <= 5; ++position) {
        EXPECT_FALSE(q.isCorrect(position));
    }
    EXPECT_FALSE(q.correctLetter().has_value());
    EXPECT_TRUE(absent.sectionNames().isEmpty());
    EXPECT_THROW(absent.total(), Failure);
}

TEST(TestFile, TotalMustBeADecimalInteger) {
    const TempFolder folder;
    QDir().mkpath(QStringLiteral("data/tests"));
    const TestFile file = TestFile::named(QStringLiteral("test1"));
    store(QStringLiteral("inf"), QStringLiteral("vsego"), QStringLiteral("12a"));
    try {
        file.total();
        FAIL() << "no failure";
    } catch (const Failure& f) {
        EXPECT_EQ(f.message(), QStringLiteral("'12a' is not a valid integer value"));
    }
    store(QStringLiteral("inf"), QStringLiteral("vsego"), QStringLiteral(" -1"));
    EXPECT_EQ(file.total(), -1);
}

TEST(TestFile, CorrectPositionIsComparedAsText) {
    Question q;
    const struct {
        QString stored;
        int matching; // 0: none
    } cases[] = {{QStringLiteral("3"), 3},     {QStringLiteral("03"), 0}, {QStringLiteral("3 "), 0},
                 {QStringLiteral("Edit7"), 0}, {QStringLiteral("6"), 0},  {QStringLiteral("5"), 5}};
    for (const auto& c : cases) {
        q.correct = c.stored;
        for (int position = 1; position <= 5; ++position) {
            EXPECT_EQ(q.isCorrect(position), position == c.matching) << c.stored.toStdString();
        }
        EXPECT_EQ(q.correctLetter().has_value(), c.matching != 0);
    }
}

TEST(TestFile, FileNamesMatchWithoutRegardToLetterCase) {
    const TempFolder folder;
    QDir().mkpath(QStringLiteral("Data/Tests"));
    store(QStringLiteral("1"), QStringLiteral("q"), QStringLiteral("Вопрос"),
          QStringLiteral("\\Data\\Tests\\TEST3.ini"));
    EXPECT_EQ(TestFile::named(QStringLiteral("test3")).question(1).text, QStringLiteral("Вопрос"));
}

} // namespace
