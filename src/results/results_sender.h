// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/results/results_settings.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace velmora {

class LrsClient;

// What one round of sending did.
struct SendReport {
    int accepted = 0;     // taken out of the outbox: the store holds them
    int refused = 0;      // moved to the refused file with the store's message
    int waiting = 0;      // left in the outbox
    QString error;        // why sending stopped before the outbox was empty; else empty
    bool stopped = false; // the store refused the key and secret: no more rounds
    bool busy = false;    // another copy of the program was sending: nothing was done
    QStringList setAside; // damaged outbox lines moved to the damaged file
};

// Sends the outbox of a course folder to its Learning Record Store in batches. Only one copy of
// the program at a time sends a folder's outbox (a lock file beside it), so each statement is
// sent by one copy; and since each keeps its id, one sent twice (by a copy killed before it took
// it out) is held once by the store.
class ResultsSender {
public:
    static constexpr int kBatch = 100;

    ResultsSender(QString folder, LrsClient& client);

    // Sends batch after batch until the outbox is empty, the store cannot be reached, or
    // `stopRequested` says so. A batch the store will not take whole is sent statement by
    // statement: what it accepts (200, 204, or 409 for an id it already holds) is taken out,
    // what it refuses (400, 403) is moved aside with its message, and the rest goes on; 401
    // stops all sending. Records the result in the folder's status.
    SendReport send(const std::function<bool()>& stopRequested = {});

private:
    QString folder_;
    LrsClient& client_;
};

} // namespace velmora
