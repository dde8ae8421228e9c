// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QThread>
#include <atomic>
#include <memory>

namespace velmora {

// Sends the outbox of a course folder in a thread of its own while the program runs: it looks at
// the outbox every few seconds, sends what waits, and after a failure waits longer each time
// (2 s, 4 s, … up to 5 minutes) before it tries again. After a 401 it sends nothing more until
// the program starts again. A course folder without results.toml has no outbox, and costs one
// look for it every two seconds. Starting takes no time, and ending takes no longer than one look
// at the stop flag, however the store is doing.
class BackgroundSender {
public:
    explicit BackgroundSender(QString folder);
    ~BackgroundSender();
    BackgroundSender(const BackgroundSender&) = delete;
    BackgroundSender& operator=(const BackgroundSender&) = delete;

    // Asks the thread to end, ends the request it is waiting on, and waits for it.
    void stop();

    // The pause before the next round after `failures` failed rounds in a row.
    static int pauseMs(int failures);

private:
    void run();

    QString folder_;
    std::atomic<bool> stopping_ = false;
    std::unique_ptr<QThread> thread_;
};

} // namespace velmora
