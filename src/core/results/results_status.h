// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace velmora {

// What sending has done so far, kept in "results.status" in the course folder so that every copy
// of the program and velmora-admin see the same: the statements the store accepted, and the last
// error. Written only by the copy that holds the send lock.
struct ResultsStatus {
    qint64 sent = 0;
    QString lastError; // empty after a send that went through
    // The store refused the key and secret (401): nothing is sent until results.toml changes.
    bool stopped = false;

    static QString path(const QString& folder);
    // The status of the folder; the empty one when there is none or it cannot be read.
    static ResultsStatus read(const QString& folder);
    // Throws Failure when it cannot be written.
    static void write(const QString& folder, const ResultsStatus& status);

    // "Отправлено: N, в очереди: M", then the last error when there is one.
    static QString line(qint64 sent, int waiting, const QString& lastError);
};

} // namespace velmora
