// SPDX-License-Identifier: GPL-3.0-or-later
// The results sender against a real Learning Record Store (and, for the faults a real one does
// not make on request, against loopback stand-ins).

#include "core/results/outbox.h"
#include "core/results/results_status.h"
#include "core/results/statement.h"
#include "results/background_sender.h"
#include "results/lrs_client.h"
#include "results/results_sender.h"
#include "support/course_driver.h"
#include "support/first_attempt.h"
#include "test_lrs.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QSslCertificate>
#include <QSslKey>
#include <QSslServer>
#include <QTest>
#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;
using namespace Qt::StringLiterals;

namespace {

QByteArray statementFor(const ResultsSettings& settings, int grade) {
    return Statement::line(
        Statement::completed(settings, {u"Бекзат"_s, u"test2"_s, grade, 3, 60'000, 0, 0},
                             QUuid::createUuid(), QDateTime::currentDateTimeUtc()));
}

QString idOf(const QByteArray& line) {
    return Outbox::idOf(line);
}

QByteArray httpReply(int status, const QByteArray& body) {
    return "HTTP/1.1 " + QByteArray::number(status) +
           " X\r\nContent-Type: application/json\r\nContent-Length: " +
           QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

class Lrs : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(lrs.start()) << lrs.error().toStdString(); }

    SendReport send(const ResultsSettings& settings, int timeoutMs = 10'000) const {
        LrsClient client(settings, timeoutMs);
        return ResultsSender(folder.path(), client).send();
    }

    TestLrs lrs;
    TempFolder folder;
};

TEST_F(Lrs, AStudentsAttemptReachesTheStoreWithItsScore) {
    CourseDriver course;
    course.folder().write(u"results.toml"_s, ResultsSettings::text(lrs.settings()));
    registerAndTakeFirstTest(course);
    const QList<Outbox::Entry> made = Outbox(course.folder().path()).waiting();
    ASSERT_EQ(made.size(), 5);

    LrsClient client(lrs.settings());
    const SendReport report = ResultsSender(course.folder().path(), client).send();
    EXPECT_EQ(report.accepted, 5);
    EXPECT_EQ(report.error, QString());
    EXPECT_EQ(Outbox(course.folder().path()).count(), 0);
    EXPECT_EQ(ResultsStatus::read(course.folder().path()).sent, 5);

    // Read back through the store's own query API: what it holds is what the program said.
    for (const Outbox::Entry& entry : made) {
        SCOPED_TRACE(entry.line.toStdString());
        const QJsonObject sent = QJsonDocument::fromJson(entry.line).object();
        const std::optional<QJsonObject> held = lrs.statement(entry.id);
        ASSERT_TRUE(held);
        for (const QString& key : {u"actor"_s, u"verb"_s, u"result"_s, u"context"_s}) {
            EXPECT_EQ(held->value(key), sent.value(key)) << key.toStdString();
        }
        EXPECT_EQ(held->value(u"object"_s).toObject().value(u"id"_s),
                  sent.value(u"object"_s).toObject().value(u"id"_s));
    }
    const std::optional<QJsonObject> completed = lrs.statement(made.last().id);
    ASSERT_TRUE(completed);
    EXPECT_EQ(QString::number(completed->value(u"result"_s)
                                  .toObject()
                                  .value(u"score"_s)
                                  .toObject()
                                  .value(u"raw"_s)
                                  .toInt()),
              course.storedGrade(u"Айгүл"_s, 1));
}

TEST_F(Lrs, RefusedDamagedAndAlreadyHeldStatementsNeverHoldUpTheRest) {
    const ResultsSettings settings = lrs.settings();
    const QByteArray first = statementFor(settings, 5);
    const QByteArray last = statementFor(settings, 2);
    const QByteArray invalid = R"({"id":"5a3e2f1c-2222-4222-8222-222222222222","actor":{}})";
    const Outbox outbox(folder.path());
    outbox.append({first});
    EXPECT_EQ(send(settings).accepted, 1);
    // The first again (a copy killed before it took it out), a statement the store refuses, a
    // line cut short, and one more.
    outbox.append({first, invalid, "{\"id\":\"5a3e", last});
    const SendReport report = send(settings);
    EXPECT_EQ(report.accepted, 2);
    EXPECT_EQ(report.refused, 1);
    EXPECT_EQ(report.setAside.size(), 1);
    EXPECT_EQ(report.error, QString());
    EXPECT_EQ(outbox.count(), 0);
    EXPECT_TRUE(lrs.statement(idOf(first)));
    EXPECT_TRUE(lrs.statement(idOf(last)));
    EXPECT_FALSE(lrs.statement(u"5a3e2f1c-2222-4222-8222-222222222222"_s));
    const QByteArray refused = folder.read(u"results.refused"_s);
    EXPECT_TRUE(refused.startsWith("# HTTP 400: ")) << refused.toStdString();
    EXPECT_TRUE(refused.endsWith(invalid + "\n"));
    EXPECT_EQ(folder.read(u"results.damaged"_s), "{\"id\":\"5a3e\n");
    EXPECT_EQ(outbox.refusedCount(), 1);
}

TEST_F(Lrs, AWrongSecretStopsSendingAndKeepsEveryStatement) {
    const Outbox outbox(folder.path());
    outbox.append({statementFor(lrs.settings(), 4), statementFor(lrs.settings(), 3)});
    const SendReport report = send(lrs.settings(u"not-the-secret"_s));
    EXPECT_TRUE(report.stopped);
    EXPECT_EQ(report.error, u"LRS не принял ключ и секрет (HTTP 401)"_s);
    EXPECT_EQ(outbox.count(), 2);
    const ResultsStatus status = ResultsStatus::read(folder.path());
    EXPECT_TRUE(status.stopped);
    EXPECT_EQ(status.lastError, report.error);
    EXPECT_FALSE(folder.read(u"results.status"_s).contains("not-the-secret"));

    // The right secret: everything goes.
    EXPECT_EQ(send(lrs.settings()).accepted, 2);
    EXPECT_EQ(outbox.count(), 0);
}

TEST_F(Lrs, AStoppedStoreKeepsTheOutboxUntilItIsBack) {
    const Outbox outbox(folder.path());
    const QByteArray line = statementFor(lrs.settings(), 5);
    outbox.append({line});
    lrs.stop();
    const SendReport report = send(lrs.settings(), 2'000);
    EXPECT_FALSE(report.error.isEmpty());
    EXPECT_FALSE(report.stopped);
    EXPECT_EQ(outbox.count(), 1);
    ASSERT_TRUE(lrs.start()) << lrs.error().toStdString();
    EXPECT_EQ(send(lrs.settings()).accepted, 1);
    EXPECT_TRUE(lrs.statement(idOf(line)));
}

// The faults a real store does not make on request, against stand-ins.
TEST(LrsFaults, SlowAndHugeStoresFailTheRoundAndKeepTheOutbox) {
    const TempFolder folder;
    ResultsSettings settings{u"http://127.0.0.1:9/xAPI/"_s, u"k"_s, u"s"_s,
                             u"https://school.kz/c"_s};
    const Outbox outbox(folder.path());
    outbox.append({statementFor(settings, 5)});

    struct Row {
        const char* name;
        QByteArray reply;
        const char* error; // the start of the round's error; nullptr: accepted
    };
    const QByteArray huge(qsizetype(5) * 1024 * 1024, 'x');
    const Row rows[] = {
        {"never answers", QByteArray(), "LRS не ответил за 0.5 с"},
        {"5 MB refusal", httpReply(500, huge), "ответ LRS больше 1048576 байт"},
        {"5 MB acceptance", httpReply(200, huge), nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        outbox.append({statementFor(settings, 4)});
        const LoopbackServer server(row.reply);
        settings.endpoint = server.endpoint();
        LrsClient client(settings, 500);
        QElapsedTimer took;
        took.start();
        const SendReport report = ResultsSender(folder.path(), client).send();
        EXPECT_LT(took.elapsed(), 5'000);
        if (row.error == nullptr) {
            EXPECT_EQ(report.error, QString());
            EXPECT_EQ(outbox.count(), 0);
        } else {
            EXPECT_TRUE(report.error.startsWith(QString::fromUtf8(row.error)))
                << report.error.toStdString();
            EXPECT_GE(outbox.count(), 1);
        }
    }
}

// A certificate nobody vouches for ends the request; it is never let through. (Wine's TLS cannot
// serve one: scripts/windows-test leaves this case out.)
TEST(LrsFaults, AnUntrustedCertificateFailsTheRoundAndKeepsTheOutbox) {
    const TempFolder folder;
    ResultsSettings settings{u"http://127.0.0.1:9/xAPI/"_s, u"k"_s, u"s"_s,
                             u"https://school.kz/c"_s};
    const Outbox outbox(folder.path());
    QSslServer tls;
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    QFile cert(QStringLiteral(VELMORA_SOURCE_ROOT "/tests/results/untrusted-cert.pem"));
    QFile key(QStringLiteral(VELMORA_SOURCE_ROOT "/tests/results/untrusted-key.pem"));
    ASSERT_TRUE(cert.open(QIODevice::ReadOnly) && key.open(QIODevice::ReadOnly));
    configuration.setLocalCertificate(QSslCertificate(&cert));
    configuration.setPrivateKey(QSslKey(&key, QSsl::Rsa));
    tls.setSslConfiguration(configuration);
    ASSERT_TRUE(tls.listen(QHostAddress::LocalHost));
    outbox.append({statementFor(settings, 3)});
    settings.endpoint = u"https://127.0.0.1:%1/xAPI/"_s.arg(tls.serverPort());
    LrsClient client(settings, 5'000);
    const SendReport report = ResultsSender(folder.path(), client).send();
    EXPECT_TRUE(report.error.startsWith(u"ошибка TLS: "_s)) << report.error.toStdString();
    EXPECT_EQ(outbox.count(), 1);
}

TEST(LrsFaults, TheProgramEndsAtOnceWhileTheStoreHangs) {
    const TempFolder folder;
    const LoopbackServer hanging{QByteArray()};
    const ResultsSettings settings{hanging.endpoint(), u"k"_s, u"s"_s, u"https://school.kz/c"_s};
    folder.write(u"results.toml"_s, ResultsSettings::text(settings));
    Outbox(folder.path()).append({statementFor(settings, 5)});
    QElapsedTimer took;
    auto sender = std::make_unique<BackgroundSender>(folder.path());
    QTest::qWait(3'000); // the first round is under way, its request unanswered
    took.start();
    sender.reset();
    EXPECT_LT(took.elapsed(), 1'000) << "the request waits up to 10 s";
    EXPECT_EQ(Outbox(folder.path()).count(), 1);
}

TEST(LrsFaults, PausesGrowAfterEachFailureUpToFiveMinutes) {
    const std::pair<int, int> rows[] = {{0, 2'000},   {1, 2'000},   {2, 4'000},   {3, 8'000},
                                        {8, 256'000}, {9, 300'000}, {40, 300'000}};
    for (const auto& [failures, pause] : rows) {
        EXPECT_EQ(BackgroundSender::pauseMs(failures), pause) << failures;
    }
}

} // namespace
