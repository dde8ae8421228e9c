// SPDX-License-Identifier: GPL-3.0-or-later
#include "test_lrs.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QHostAddress>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QProcessEnvironment>
#include <QTcpSocket>
#include <QThread>
#include <QUrlQuery>

namespace velmora::test {
namespace {

// Whether something on 127.0.0.1 takes connections at the port.
bool portTaken(int port) {
    QTcpSocket probe;
    probe.connectToHost(QHostAddress::LocalHost, quint16(port));
    return probe.waitForConnected(500);
}

} // namespace

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
    control_ = std::make_unique<QTemporaryDir>();
    environment.insert(QStringLiteral("LRS_CONTROL"), control_->path());
    process_->setProcessEnvironment(environment);
    process_->setProcessChannelMode(QProcess::SeparateChannels);
    // Under Wine the store runs on the host's own Node.js, named by its path.
    process_->start(qEnvironmentVariable("VELMORA_TEST_NODE", QStringLiteral("node")),
                    {QStringLiteral("run-lrs.js")});
    QByteArray out;
    QFile portFile(control_->filePath(QStringLiteral("port")));
    const QDeadlineTimer deadline(30'000);
    while (!deadline.hasExpired() && process_->state() != QProcess::NotRunning) {
        process_->waitForReadyRead(100);
        out += process_->readAllStandardOutput();
        if (portFile.open(QIODevice::ReadOnly)) {
            port_ = portFile.readAll().toInt();
            return true;
        }
    }
    error_ = QStringLiteral("the test LRS did not start (run scripts/install-test-lrs): ") +
             QString::fromUtf8(out + process_->readAllStandardError());
    return false;
}

void TestLrs::stop() {
    if (process_ && process_->state() != QProcess::NotRunning) {
        // Asked first, as only that reaches a store that Wine started on the host; then killed.
        QFile word(control_->filePath(QStringLiteral("stop")));
        if (word.open(QIODevice::WriteOnly)) {
            word.close();
            for (const QDeadlineTimer deadline(5'000);
                 !deadline.hasExpired() && portTaken(port_);) {
                QThread::msleep(20);
            }
        }
        process_->kill();
        process_->waitForFinished(10'000);
    }
    process_.reset();
    control_.reset();
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
