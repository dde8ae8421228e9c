// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/results/results_settings.h"

#include <QByteArray>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QTcpServer>
#include <QTemporaryDir>
#include <memory>
#include <optional>

namespace velmora::test {

// The real Learning Record Store of the tests: Learning Locker's xAPI statement service, installed
// from the npm registry by scripts/install-test-lrs, run in memory on 127.0.0.1 at a free port
// (tests/lrs/run-lrs.js). It takes the one key and secret it was started with.
class TestLrs {
public:
    static constexpr const char* kKey = "velmora";
    static constexpr const char* kSecret = "lab-secret";

    TestLrs();
    ~TestLrs();
    TestLrs(const TestLrs&) = delete;
    TestLrs& operator=(const TestLrs&) = delete;

    // Starts it; false, with the reason in error(), when it does not come up.
    bool start();
    void stop();
    bool running() const;
    const QString& error() const { return error_; }
    int port() const { return port_; }
    qint64 processId() const;

    // Settings that reach it, with this secret.
    ResultsSettings settings(const QString& secret = QString::fromLatin1(kSecret)) const;
    // The statement of this id as the store's query API gives it back; nothing when it holds none.
    std::optional<QJsonObject> statement(const QString& id) const;

private:
    std::unique_ptr<QProcess> process_;
    // Where the store writes its port and looks for the word to stop (tests/lrs/run-lrs.js).
    std::unique_ptr<QTemporaryDir> control_;
    QString error_;
    int port_ = 0;
};

// A stand-in for a store gone wrong, on 127.0.0.1: it answers every request with `reply` (a whole
// HTTP response), or takes the connection and never answers when `reply` is empty. Its answers
// need the calling thread's event loop, which the blocking client runs while it waits.
class LoopbackServer {
public:
    explicit LoopbackServer(QByteArray reply);
    QString endpoint() const;

private:
    QTcpServer server_;
    QByteArray reply_;
};

} // namespace velmora::test
