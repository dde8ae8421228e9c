// SPDX-License-Identifier: GPL-3.0-or-later
// The lab simulation: 30 computers finish attempts in one course folder while the record store is
// stopped and started at random moments and some computers are killed. Afterwards the store holds
// every attempt exactly once, the test log agrees, and the outbox is empty once the store stays up.

#include "core/results/outbox.h"
#include "core/results/results_settings.h"
#include "results/lrs_client.h"
#include "results/results_sender.h"
#include "support/temp_folder.h"
#include "test_lrs.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTest>
#include <QUrlQuery>
#include <csignal>
#include <gtest/gtest.h>
#include <map>
#include <memory>

using namespace velmora;
using namespace velmora::test;
using namespace Qt::StringLiterals;

namespace {

constexpr int kComputers = 30;
constexpr int kAttempts = 12;

QJsonObject getJson(const ResultsSettings& settings, const QUrl& url) {
    QNetworkAccessManager manager;
    QNetworkRequest request(url);
    request.setRawHeader("X-Experience-API-Version", "1.0.3");
    request.setRawHeader("Authorization", settings.authorization());
    std::unique_ptr<QNetworkReply> reply(manager.get(request));
    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    return QJsonDocument::fromJson(reply->readAll()).object();
}

// Every statement the store holds, page by page through its query API.
QList<QJsonObject> everyStatement(const ResultsSettings& settings) {
    QList<QJsonObject> statements;
    QUrl url(settings.endpoint + u"statements"_s);
    url.setQuery(QUrlQuery{{u"limit"_s, u"500"_s}});
    const QUrl base(settings.endpoint);
    while (true) {
        const QJsonObject page = getJson(settings, url);
        for (const QJsonValue statement : page.value(u"statements"_s).toArray()) {
            statements << statement.toObject();
        }
        const QString more = page.value(u"more"_s).toString();
        if (more.isEmpty()) {
            return statements;
        }
        url = base.resolved(QUrl(more));
    }
}

TEST(ResultsLab, ThirtyComputersAStoreComingAndGoingAndKillsLoseAndDoubleNothing) {
    TestLrs lrs;
    ASSERT_TRUE(lrs.start()) << lrs.error().toStdString();
    const TempFolder folder;
    const ResultsSettings settings = lrs.settings();
    folder.write(u"results.toml"_s, ResultsSettings::text(settings));

    std::vector<std::unique_ptr<QProcess>> computers;
    for (int c = 0; c < kComputers; ++c) {
        auto process = std::make_unique<QProcess>();
        process->setWorkingDirectory(folder.path());
        process->start(QStringLiteral(VELMORA_LAB_STUDENT),
                       {u"student%1"_s.arg(c), QString::number(kAttempts)});
        computers.push_back(std::move(process));
    }
    // The store stopped and started at random moments, and one computer in six killed.
    QRandomGenerator random(20251209);
    QSet<QString> killed;
    bool storeUp = true;
    const QDeadlineTimer chaos(20'000);
    while (!chaos.hasExpired()) {
        QTest::qWait(int(random.bounded(200, 1'200)));
        storeUp = !storeUp;
        ::kill(pid_t(lrs.processId()), storeUp ? SIGCONT : SIGSTOP);
        const int c = int(random.bounded(kComputers));
        if (killed.size() < kComputers / 6 && computers[c]->state() == QProcess::Running &&
            random.bounded(3) == 0) {
            computers[c]->kill();
            killed.insert(u"student%1"_s.arg(c));
        }
    }
    ::kill(pid_t(lrs.processId()), SIGCONT);
    for (int c = 0; c < kComputers; ++c) {
        ASSERT_TRUE(computers[c]->state() == QProcess::NotRunning ||
                    computers[c]->waitForFinished(120'000));
        if (!killed.contains(u"student%1"_s.arg(c))) {
            EXPECT_EQ(computers[c]->exitCode(), 0)
                << computers[c]->readAllStandardError().constData();
        }
    }

    // The store stays up: the outbox empties.
    LrsClient client(settings);
    const QDeadlineTimer minute(60'000);
    while (Outbox(folder.path()).count() > 0 && !minute.hasExpired()) {
        (void)ResultsSender(folder.path(), client).send();
    }
    EXPECT_EQ(Outbox(folder.path()).count(), 0);

    // Each attempt by content: student and attempt number (the duration's seconds).
    std::map<QString, int> held;
    QSet<QString> ids;
    for (const QJsonObject& statement : everyStatement(settings)) {
        ids.insert(statement.value(u"id"_s).toString());
        const QString name = statement.value(u"actor"_s)
                                 .toObject()
                                 .value(u"account"_s)
                                 .toObject()
                                 .value(u"name"_s)
                                 .toString();
        const QString duration =
            statement.value(u"result"_s).toObject().value(u"duration"_s).toString();
        ++held[name + u" | "_s + duration];
    }
    std::map<QString, int> logged;
    for (const QByteArray& line : folder.read(u"report.txt"_s).split('\n')) {
        const QList<QByteArray> fields = line.trimmed().split('|');
        if (fields.size() == 6) {
            ++logged[QString::fromUtf8(fields[0].trimmed()) + u" | PT"_s +
                     QString::fromUtf8(fields[5].trimmed()) + u"S"_s];
        }
    }
    EXPECT_EQ(int(ids.size()), int(held.size())) << "as many ids as attempts";
    for (const auto& [attempt, count] : held) {
        EXPECT_EQ(count, 1) << attempt.toStdString();
        EXPECT_EQ(logged.count(attempt), 1u) << "no test log line for " << attempt.toStdString();
    }
    // A logged attempt the store lacks is one a killed computer did not get to put in the outbox.
    int missing = 0;
    for (const auto& [attempt, count] : logged) {
        EXPECT_EQ(count, 1) << attempt.toStdString();
        if (!held.contains(attempt)) {
            ++missing;
            EXPECT_TRUE(killed.contains(attempt.section(u" | "_s, 0, 0))) << attempt.toStdString();
        }
    }
    EXPECT_LE(missing, int(killed.size()));
    EXPECT_GE(int(held.size()), (kComputers - int(killed.size())) * kAttempts);
}

} // namespace
