// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/results/statement.h"

#include "core/exam/attempt_plan.h"
#include "core/results/results_settings.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace velmora {
namespace {

constexpr int kLowestGrade = 1;
constexpr int kHighestGrade = 5;

QJsonObject verb(const QString& name) {
    return {{QStringLiteral("id"), QStringLiteral("http://adlnet.gov/expapi/verbs/") + name},
            {QStringLiteral("display"), QJsonObject{{QStringLiteral("en-US"), name}}}};
}

QJsonObject actor(const ResultsSettings& settings, const QString& username) {
    return {
        {QStringLiteral("objectType"), QStringLiteral("Agent")},
        {QStringLiteral("account"), QJsonObject{{QStringLiteral("homePage"), settings.courseIri},
                                                {QStringLiteral("name"), username}}}};
}

QJsonObject activity(const QString& id, const QString& type, const QString& name) {
    return {{QStringLiteral("objectType"), QStringLiteral("Activity")},
            {QStringLiteral("id"), id},
            {QStringLiteral("definition"),
             QJsonObject{{QStringLiteral("type"),
                          QStringLiteral("http://adlnet.gov/expapi/activities/") + type},
                         {QStringLiteral("name"), QJsonObject{{QStringLiteral("en-US"), name}}}}}};
}

QJsonObject courseActivity(const ResultsSettings& settings) {
    return activity(settings.courseIri, QStringLiteral("course"), QStringLiteral("course"));
}

QJsonObject statement(const QUuid& id, const QDateTime& when, const QJsonObject& who,
                      const QString& verbName, const QJsonObject& object) {
    return {{QStringLiteral("id"), id.toString(QUuid::WithoutBraces)},
            {QStringLiteral("timestamp"), when.toUTC().toString(Qt::ISODateWithMs)},
            {QStringLiteral("version"), QStringLiteral("1.0.3")},
            {QStringLiteral("actor"), who},
            {QStringLiteral("verb"), verb(verbName)},
            {QStringLiteral("object"), object}};
}

// The context of a test's statements: the test within the course, and the attempt's draw.
QJsonObject testContext(const ResultsSettings& settings, const QString& testname,
                        const QJsonObject& extensions, bool underTest) {
    QJsonObject activities{{QStringLiteral("grouping"), QJsonArray{courseActivity(settings)}}};
    if (underTest) {
        activities.insert(QStringLiteral("parent"),
                          QJsonArray{activity(settings.testIri(testname),
                                              QStringLiteral("assessment"), testname)});
    }
    QJsonObject context{{QStringLiteral("contextActivities"), activities}};
    if (!extensions.isEmpty()) {
        context.insert(QStringLiteral("extensions"), extensions);
    }
    return context;
}

} // namespace

QJsonObject Statement::completed(const ResultsSettings& settings, const Completed& attempt,
                                 const QUuid& id, const QDateTime& when) {
    QJsonObject result =
        statement(id, when, actor(settings, attempt.username), QStringLiteral("completed"),
                  activity(settings.testIri(attempt.testname), QStringLiteral("assessment"),
                           attempt.testname));
    const double scaled =
        double(attempt.grade - kLowestGrade) / double(kHighestGrade - kLowestGrade);
    result.insert(
        QStringLiteral("result"),
        QJsonObject{{QStringLiteral("score"), QJsonObject{{QStringLiteral("raw"), attempt.grade},
                                                          {QStringLiteral("min"), kLowestGrade},
                                                          {QStringLiteral("max"), kHighestGrade},
                                                          {QStringLiteral("scaled"), scaled}}},
                    {QStringLiteral("success"), attempt.grade >= attempt.passGrade},
                    {QStringLiteral("completion"), true},
                    {QStringLiteral("duration"), duration(attempt.durationMs)}});
    QJsonObject extensions;
    if (attempt.seed != 0) {
        extensions.insert(extension(QStringLiteral("seed")), seedText(attempt.seed));
    }
    extensions.insert(extension(QStringLiteral("draw")), attempt.draw);
    result.insert(QStringLiteral("context"),
                  testContext(settings, attempt.testname, extensions, false));
    return result;
}

QJsonObject Statement::answered(const ResultsSettings& settings, const Answered& answer,
                                const QUuid& id, const QDateTime& when) {
    QJsonObject question =
        activity(settings.testIri(answer.testname) + QStringLiteral("/questions/") +
                     QString::number(answer.question),
                 QStringLiteral("cmi.interaction"),
                 QStringLiteral("%1 #%2").arg(answer.testname).arg(answer.question));
    QJsonObject definition = question.value(QStringLiteral("definition")).toObject();
    definition.insert(QStringLiteral("interactionType"), QStringLiteral("choice"));
    if (answer.correct != QLatin1String("?")) {
        definition.insert(QStringLiteral("correctResponsesPattern"), QJsonArray{answer.correct});
    }
    definition.insert(QStringLiteral("extensions"),
                      QJsonObject{{extension(QStringLiteral("question")), answer.question},
                                  {extension(QStringLiteral("fingerprint")), answer.fingerprint}});
    question.insert(QStringLiteral("definition"), definition);

    QJsonObject result =
        statement(id, when, actor(settings, answer.username), QStringLiteral("answered"), question);
    result.insert(
        QStringLiteral("result"),
        QJsonObject{{QStringLiteral("response"), answer.chosen},
                    {QStringLiteral("success"), answer.chosen == answer.correct},
                    {QStringLiteral("extensions"),
                     QJsonObject{{extension(QStringLiteral("correct")), answer.correct}}}});
    QJsonObject extensions;
    if (answer.seed != 0) {
        extensions.insert(extension(QStringLiteral("seed")), seedText(answer.seed));
    }
    result.insert(QStringLiteral("context"),
                  testContext(settings, answer.testname, extensions, true));
    return result;
}

QJsonObject Statement::registered(const ResultsSettings& settings, const QString& username,
                                  const QUuid& id, const QDateTime& when) {
    QJsonObject result = statement(id, when, actor(settings, username),
                                   QStringLiteral("registered"), courseActivity(settings));
    return result;
}

QByteArray Statement::line(const QJsonObject& statement) {
    return QJsonDocument(statement).toJson(QJsonDocument::Compact);
}

QString Statement::duration(qint64 ms) {
    const qint64 clamped = qMax<qint64>(ms, 0);
    const qint64 hours = clamped / 3'600'000;
    const qint64 minutes = clamped / 60'000 % 60;
    const qint64 hundredths = clamped % 60'000 / 10;
    QString text = QStringLiteral("PT");
    if (hours > 0) {
        text += QString::number(hours) + QLatin1Char('H');
    }
    if (minutes > 0) {
        text += QString::number(minutes) + QLatin1Char('M');
    }
    text += QString::number(hundredths / 100);
    if (hundredths % 100 != 0) {
        text += QStringLiteral(".%1").arg(hundredths % 100, 2, 10, QLatin1Char('0'));
    }
    return text + QLatin1Char('S');
}

QString Statement::extension(const QString& name) {
    return QStringLiteral("https://velmora.invalid/xapi/extensions/") + name;
}

} // namespace velmora
