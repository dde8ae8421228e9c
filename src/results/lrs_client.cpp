// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/lrs_client.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslError>
#include <QTimer>
#include <QUrlQuery>
#include <memory>

namespace velmora {
namespace {

// How often a running request looks whether it is to stop.
constexpr int kStopPollMs = 50;

QByteArray statementsArray(const QList<QByteArray>& statements) {
    QByteArray body("[");
    for (qsizetype i = 0; i < statements.size(); ++i) {
        body += (i == 0 ? "" : ",") + statements[i];
    }
    return body + "]";
}

} // namespace

QString LrsReply::message() const {
    const QJsonObject object = QJsonDocument::fromJson(body).object();
    QStringList parts;
    if (const QString text = object.value(QStringLiteral("message")).toString(); !text.isEmpty()) {
        parts << text;
    }
    for (const QJsonValue warning : object.value(QStringLiteral("warnings")).toArray()) {
        parts << warning.toString();
    }
    const QString text =
        parts.isEmpty() ? QString::fromUtf8(body.left(300)).simplified() : parts.join(u"; ");
    return QStringLiteral("HTTP %1").arg(status) +
           (text.isEmpty() ? QString() : QStringLiteral(": ") + text);
}

LrsClient::LrsClient(ResultsSettings settings, int timeoutMs)
    : settings_(std::move(settings)), timeoutMs_(timeoutMs) {}

LrsReply LrsClient::post(const QList<QByteArray>& statements) {
    return run("POST", QNetworkRequest(QUrl(settings_.endpoint + QStringLiteral("statements"))),
               statementsArray(statements));
}

LrsReply LrsClient::put(const QString& id, const QByteArray& statement) {
    QUrl url(settings_.endpoint + QStringLiteral("statements"));
    url.setQuery(QUrlQuery{{QStringLiteral("statementId"), id}});
    return run("PUT", QNetworkRequest(url), statement);
}

LrsReply LrsClient::about() {
    return run("GET", QNetworkRequest(QUrl(settings_.endpoint + QStringLiteral("about"))), {});
}

LrsReply LrsClient::run(const QByteArray& verb, QNetworkRequest request, const QByteArray& body) {
    LrsReply result;
    if (stopped_) {
        result.error = QStringLiteral("отправка остановлена");
        return result;
    }
    request.setRawHeader("X-Experience-API-Version", "1.0.3");
    request.setRawHeader("Authorization", settings_.authorization());
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
    request.setTransferTimeout(timeoutMs_);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    const std::unique_ptr<QNetworkReply> owned(manager_.sendCustomRequest(request, verb, body));
    QNetworkReply* reply = owned.get();
    QEventLoop loop;
    QStringList tlsErrors;
    bool tooLarge = false;
    qint64 received = 0;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    // Never ignored: a certificate the system does not trust ends the request.
    QObject::connect(reply, &QNetworkReply::sslErrors, &loop, [&](const QList<QSslError>& errors) {
        for (const QSslError& error : errors) {
            tlsErrors << error.errorString();
        }
    });
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, [&] {
        const QByteArray chunk = reply->readAll();
        received += chunk.size();
        if (result.body.size() < kBodyKept) {
            result.body += chunk.left(kBodyKept - result.body.size());
        }
        if (received > kLargestReply) {
            tooLarge = true;
            reply->abort();
        }
    });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (stopped_) {
            reply->abort();
        }
    });
    poll.start(kStopPollMs);
    loop.exec();
    result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QByteArray rest = reply->readAll();
    if (result.body.size() < kBodyKept) {
        result.body += rest.left(kBodyKept - result.body.size());
    }
    if (!tlsErrors.isEmpty()) {
        result.status = 0;
        result.error = QStringLiteral("ошибка TLS: ") + tlsErrors.join(QStringLiteral("; "));
    } else if (tooLarge) {
        // The status came before the body: a store that accepted and then says too much still
        // accepted.
        if (!result.accepted()) {
            result.error = QStringLiteral("ответ LRS больше %1 байт").arg(kLargestReply);
            result.status = 0;
        }
    } else if (reply->error() == QNetworkReply::OperationCanceledError) {
        result.status = 0;
        result.error = stopped_ ? QStringLiteral("отправка остановлена")
                                : QStringLiteral("LRS не ответил за %1 с").arg(timeoutMs_ / 1000.0);
    } else if (result.status == 0) {
        result.error = reply->errorString();
    }
    return result;
}

} // namespace velmora
