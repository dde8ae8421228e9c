// SPDX-License-Identifier: GPL-3.0-or-later
#include "test_lrs.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QUrlQuery>

namespace velmora::test {

TestLrs::TestLrs() = default;

TestLrs::~TestLrs() {
    stop();
}

bool TestLrs::start() {
    const QString lrs = QStringLiteral(VELMORA_SOURCE_ROOT "/tests/lrs");
    process_ = std::make_unique<QProcess>();
    process_->setWorkingDirectory(lrs);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LRS_PORT"),
                       port_ == 0 ? QStringLiteral("0") : QString::number(port_));
    environment.insert(QStringLiteral("LRS_KEY"), QString::fromLatin1(kKey));
    environment.insert(QStringLiteral("LRS_SECRET"), QString::fromLatin1(kSecret));
    process_->setProcessEnvironment(environment);
    process_->setProcessChannelMode(QProcess::SeparateChannels);
    process_->start(QStringLiteral("node"), {QStringLiteral("run-lrs.js")});
    const QRegularExpression listening(QStringLiteral("lrs listening on (\\d+)"));
    QByteArray out;
    const QDeadlineTimer deadline(30'000);
    while (!deadline.hasExpired() && process_->state() != QProcess::NotRunning) {
        process_->waitForReadyRead(200);
        out += process_->readAllStandardOutput();
        if (const auto match = listening.match(QString::fromUtf8(out)); match.hasMatch()) {
            port_ = match.captured(1).toInt();
            return true;
        }
    }
    error_ = QStringLiteral("the test LRS did not start (run scripts/install-test-lrs): ") +
             QString::fromUtf8(out + process_->readAllStandardError());
    return false;
}

void TestLrs::stop() {
    if (process_ && process_->state() != QProcess::NotRunning) {
        process_->kill();
        process_->waitForFinished(10'000);
    }
    process_.reset();
}

bool TestLrs::running() const {
    return process_ && process_->state() == QProcess::Running;
}

qint64 TestLrs::processId() const {
    return process_ ? process_->processId() : 0;
}

ResultsSettings TestLrs::settings(const QString& secret) const {
    return {QStringLiteral("http://127.0.0.1:%1/xAPI/").arg(port_), QString::fromLatin1(kKey),
            secret, QStringLiteral("https://school.kz/courses/is-101")};
}

std::optional<QJsonObject> TestLrs::statement(const QString& id) const {
    QNetworkAccessManager manager;
    QUrl url(settings().endpoint + QStringLiteral("statements"));
    url.setQuery(QUrlQuery{{QStringLiteral("statementId"), id}});
    QNetworkRequest request(url);
    request.setRawHeader("X-Experience-API-Version", "1.0.3");
    request.setRawHeader("Authorization", settings().authorization());
    std::unique_ptr<QNetworkReply> reply(manager.get(request));
    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    if (reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() != 200) {
        return std::nullopt;
    }
    return QJsonDocument::fromJson(reply->readAll()).object();
}

LoopbackServer::LoopbackServer(QByteArray reply) : reply_(std::move(reply)) {
    server_.listen(QHostAddress::LocalHost);
    QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            socket->setParent(&server_);
            if (reply_.isEmpty()) {
                continue; // taken, never answered
            }
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                socket->readAll();
                if (socket->property("answered").toBool()) {
                    return;
                }
                socket->setProperty("answered", true);
                socket->write(reply_);
            });
        }
    });
}

QString LoopbackServer::endpoint() const {
    return QStringLiteral("http://127.0.0.1:%1/xAPI/").arg(server_.serverPort());
}

} // namespace velmora::test
