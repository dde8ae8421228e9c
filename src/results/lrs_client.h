// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/results/results_settings.h"

#include <QByteArray>
#include <QList>
#include <QNetworkAccessManager>
#include <QString>
#include <atomic>

class QNetworkRequest;

namespace velmora {

// What the store answered to one request.
struct LrsReply {
    int status = 0;  // the HTTP status; 0 when no answer came
    QByteArray body; // at most kBodyKept bytes of it
    QString error;   // why no usable answer came (network, TLS, timeout, size); else empty
    bool accepted() const { return status == 200 || status == 204; }
    // The store's own message for a refusal: its JSON "message" or "warnings", else the body.
    QString message() const;
};

// Talks xAPI 1.0.3 to one Learning Record Store: every request carries the version header and
// HTTP Basic with the key and secret. Blocking; used from the one thread it was made in, never the
// GUI thread. TLS certificate errors always fail the request.
class LrsClient {
public:
    static constexpr qsizetype kBodyKept = qsizetype(64) * 1024;
    static constexpr qint64 kLargestReply = qint64(1024) * 1024;

    explicit LrsClient(ResultsSettings settings, int timeoutMs = 10'000);

    // POST of a batch of statement lines as one JSON array.
    LrsReply post(const QList<QByteArray>& statements);
    // PUT of one statement under its id.
    LrsReply put(const QString& id, const QByteArray& statement);
    // GET of the store's "about" resource.
    LrsReply about();

    // Makes the request running now, and every later one, end at once without an answer. Safe
    // from any thread.
    void stop() { stopped_ = true; }

private:
    LrsReply run(const QByteArray& verb, QNetworkRequest request, const QByteArray& body);

    ResultsSettings settings_;
    int timeoutMs_;
    QNetworkAccessManager manager_;
    std::atomic<bool> stopped_ = false;
};

} // namespace velmora
