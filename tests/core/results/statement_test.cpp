// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/results/results_settings.h"
#include "core/results/statement.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <gtest/gtest.h>

namespace velmora {
namespace {

const ResultsSettings kSettings{QStringLiteral("https://lrs.school.kz/xapi/"),
                                QStringLiteral("key"), QStringLiteral("secret"),
                                QStringLiteral("https://school.kz/courses/is-101")};
const QUuid kId = QUuid::fromString(QStringLiteral("5a3e2f1c-1111-4111-8111-111111111111"));
const QDateTime kWhen = QDateTime(QDate(2025, 2, 3), QTime(14, 5, 9, 120), Qt::UTC);

// A value by a path of keys: "result.score.raw".
QJsonValue at(const QJsonObject& object, const QString& path) {
    QJsonValue value = object;
    for (const QString& key : path.split(QLatin1Char('.'))) {
        value = value.toObject().value(key);
    }
    return value;
}

TEST(Statement, CompletedCarriesTheGradeAsScoreAndPassAsSuccess) {
    struct Row {
        int grade;
        int passGrade;
        double scaled;
        bool success;
    };
    for (const Row row : {Row{5, 3, 1.0, true}, Row{3, 3, 0.5, true}, Row{2, 3, 0.25, false},
                          Row{1, 3, 0.0, false}, Row{3, 4, 0.5, false}}) {
        SCOPED_TRACE(row.grade);
        const QJsonObject s =
            Statement::completed(kSettings,
                                 {QStringLiteral("Асель"), QStringLiteral("test3"), row.grade,
                                  row.passGrade, 83'450, 0x00c0ffee00c0ffeeULL, 10},
                                 kId, kWhen);
        EXPECT_EQ(at(s, QStringLiteral("result.score.raw")).toInt(), row.grade);
        EXPECT_EQ(at(s, QStringLiteral("result.score.min")).toInt(), 1);
        EXPECT_EQ(at(s, QStringLiteral("result.score.max")).toInt(), 5);
        EXPECT_DOUBLE_EQ(at(s, QStringLiteral("result.score.scaled")).toDouble(), row.scaled);
        EXPECT_EQ(at(s, QStringLiteral("result.success")).toBool(), row.success);
        EXPECT_EQ(at(s, QStringLiteral("result.duration")).toString(),
                  QStringLiteral("PT1M23.45S"));
    }
    const QJsonObject s = Statement::completed(
        kSettings, {QStringLiteral("Асель"), QStringLiteral("test3"), 4, 3, 1000, 0xabcULL, 10},
        kId, kWhen);
    EXPECT_EQ(s.value(QStringLiteral("id")).toString(),
              QStringLiteral("5a3e2f1c-1111-4111-8111-111111111111"));
    EXPECT_EQ(s.value(QStringLiteral("timestamp")).toString(),
              QStringLiteral("2025-02-03T14:05:09.120Z"));
    EXPECT_EQ(at(s, QStringLiteral("verb.id")).toString(),
              QStringLiteral("http://adlnet.gov/expapi/verbs/completed"));
    EXPECT_EQ(at(s, QStringLiteral("actor.account.homePage")).toString(), kSettings.courseIri);
    EXPECT_EQ(at(s, QStringLiteral("actor.account.name")).toString(), QStringLiteral("Асель"));
    EXPECT_EQ(at(s, QStringLiteral("object.id")).toString(),
              QStringLiteral("https://school.kz/courses/is-101/tests/test3"));
    const QJsonObject extensions = at(s, QStringLiteral("context.extensions")).toObject();
    EXPECT_EQ(extensions.value(Statement::extension(QStringLiteral("seed"))).toString(),
              QStringLiteral("0000000000000abc"));
    EXPECT_EQ(extensions.value(Statement::extension(QStringLiteral("draw"))).toInt(), 10);
    EXPECT_EQ(at(s, QStringLiteral("context.contextActivities.grouping"))
                  .toArray()
                  .first()
                  .toObject()
                  .value(QStringLiteral("id"))
                  .toString(),
              kSettings.courseIri);
}

TEST(Statement, AnsweredNamesTheQuestionAndBothLetters) {
    const Statement::Answered right{
        QStringLiteral("Асель"), QStringLiteral("test1"), 7, QStringLiteral("0a1b2c3d"),
        QStringLiteral("C"),     QStringLiteral("C"),     0};
    Statement::Answered wrong = right;
    wrong.chosen = QStringLiteral("B");
    Statement::Answered unknown = right;
    unknown.correct = QStringLiteral("?");

    const QJsonObject s = Statement::answered(kSettings, right, kId, kWhen);
    EXPECT_EQ(at(s, QStringLiteral("verb.id")).toString(),
              QStringLiteral("http://adlnet.gov/expapi/verbs/answered"));
    EXPECT_EQ(at(s, QStringLiteral("object.id")).toString(),
              QStringLiteral("https://school.kz/courses/is-101/tests/test1/questions/7"));
    EXPECT_EQ(at(s, QStringLiteral("object.definition.correctResponsesPattern")).toArray(),
              QJsonArray{QStringLiteral("C")});
    const QJsonObject definitionExtensions =
        at(s, QStringLiteral("object.definition.extensions")).toObject();
    EXPECT_EQ(definitionExtensions.value(Statement::extension(QStringLiteral("fingerprint"))),
              QStringLiteral("0a1b2c3d"));
    EXPECT_EQ(definitionExtensions.value(Statement::extension(QStringLiteral("question"))), 7);
    EXPECT_EQ(at(s, QStringLiteral("result.response")).toString(), QStringLiteral("C"));
    EXPECT_TRUE(at(s, QStringLiteral("result.success")).toBool());
    EXPECT_FALSE(
        at(Statement::answered(kSettings, wrong, kId, kWhen), QStringLiteral("result.success"))
            .toBool());
    const QJsonObject noKey = Statement::answered(kSettings, unknown, kId, kWhen);
    EXPECT_FALSE(at(noKey, QStringLiteral("result.success")).toBool());
    EXPECT_TRUE(
        at(noKey, QStringLiteral("object.definition.correctResponsesPattern")).isUndefined());

    const QJsonObject registered =
        Statement::registered(kSettings, QStringLiteral("Асель"), kId, kWhen);
    EXPECT_EQ(at(registered, QStringLiteral("verb.id")).toString(),
              QStringLiteral("http://adlnet.gov/expapi/verbs/registered"));
    EXPECT_EQ(at(registered, QStringLiteral("object.id")).toString(), kSettings.courseIri);
    // One line of JSON, read back the same.
    const QByteArray line = Statement::line(s);
    EXPECT_FALSE(line.contains('\n'));
    EXPECT_EQ(QJsonDocument::fromJson(line).object(), s);
}

TEST(Statement, DurationsAreIsoWithHundredths) {
    const std::pair<qint64, const char*> rows[] = {
        {0, "PT0S"},  {999, "PT0.99S"},      {60'000, "PT1M0S"}, {3'723'450, "PT1H2M3.45S"},
        {-5, "PT0S"}, {7'200'000, "PT2H0S"},
    };
    for (const auto& [ms, text] : rows) {
        EXPECT_EQ(Statement::duration(ms), QString::fromLatin1(text)) << ms;
    }
}

} // namespace
} // namespace velmora
