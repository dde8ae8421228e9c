// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/results_sender.h"

#include "core/results/outbox.h"
#include "core/results/results_status.h"
#include "results/lrs_client.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLockFile>
#include <QSet>

namespace velmora {
namespace {

// A round of sending ends after this long, so the send lock is never held long enough to be
// taken for a dead holder's.
constexpr qint64 kRoundMs = 60'000;
constexpr int kStaleLockMs = 5 * 60'000;

const QString kUnauthorised = QStringLiteral("LRS не принял ключ и секрет (HTTP 401)");

// What a batch came to.
struct BatchResult {
    QSet<QString> accepted;
    QList<Outbox::Refusal> refused;
    QString error; // the store could not be reached, or stopped all sending
    bool stop = false;
};

bool acceptedOne(int status) {
    // 409: the store holds a statement of this id already; ids are made once, so it is this one.
    return status == 200 || status == 204 || status == 409;
}

bool refusedOne(int status) {
    return status == 400 || status == 403;
}

void oneByOne(LrsClient& client, const QList<Outbox::Entry>& entries, BatchResult& result) {
    for (const Outbox::Entry& entry : entries) {
        const LrsReply reply = client.put(entry.id, entry.line);
        if (acceptedOne(reply.status)) {
            result.accepted.insert(entry.id);
        } else if (refusedOne(reply.status)) {
            result.refused.append({entry.id, reply.message()});
        } else {
            result.stop = reply.status == 401;
            result.error = result.stop ? kUnauthorised
                                       : (reply.error.isEmpty() ? reply.message() : reply.error);
            return;
        }
    }
}

BatchResult sendBatch(LrsClient& client, const QList<Outbox::Entry>& entries) {
    QList<QByteArray> lines;
    for (const Outbox::Entry& entry : entries) {
        lines << entry.line;
    }
    BatchResult result;
    const LrsReply reply = client.post(lines);
    if (reply.accepted()) {
        for (const Outbox::Entry& entry : entries) {
            result.accepted.insert(entry.id);
        }
    } else if (reply.status == 401) {
        result.stop = true;
        result.error = kUnauthorised;
    } else if (refusedOne(reply.status) || reply.status == 409) {
        // One bad or already held statement refuses the whole batch: each is sent alone.
        oneByOne(client, entries, result);
    } else {
        result.error = reply.error.isEmpty() ? reply.message() : reply.error;
    }
    return result;
}

} // namespace

ResultsSender::ResultsSender(QString folder, LrsClient& client)
    : folder_(std::move(folder)), client_(client) {}

SendReport ResultsSender::send(const std::function<bool()>& stopRequested) {
    SendReport report;
    const Outbox outbox(folder_);
    QLockFile sending(QDir(folder_).filePath(QStringLiteral("results.sending")));
    sending.setStaleLockTime(kStaleLockMs);
    if (!sending.tryLock(0)) {
        report.busy = true;
        report.waiting = outbox.count();
        return report;
    }
    ResultsStatus status = ResultsStatus::read(folder_);
    QElapsedTimer round;
    round.start();
    while (!(stopRequested && stopRequested()) && round.elapsed() < kRoundMs) {
        const QList<Outbox::Entry> entries = outbox.waiting(kBatch, &report.setAside);
        if (entries.isEmpty()) {
            break;
        }
        const BatchResult batch = sendBatch(client_, entries);
        outbox.remove(batch.accepted, batch.refused);
        report.accepted += int(batch.accepted.size());
        report.refused += int(batch.refused.size());
        status.sent += batch.accepted.size();
        if (!batch.refused.isEmpty()) {
            status.lastError = batch.refused.last().message;
        }
        if (!batch.error.isEmpty()) {
            report.error = batch.error;
            report.stopped = batch.stop;
            break;
        }
    }
    if (report.error.isEmpty() && report.refused == 0 && report.accepted > 0) {
        status.lastError.clear();
    }
    if (!report.error.isEmpty()) {
        status.lastError = report.error;
    }
    if (!report.setAside.isEmpty()) {
        status.lastError = report.setAside.last();
    }
    status.stopped = report.stopped;
    ResultsStatus::write(folder_, status);
    report.waiting = outbox.count();
    return report;
}

} // namespace velmora
