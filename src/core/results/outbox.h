// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

namespace velmora {

// The statements waiting for the Learning Record Store: "results.outbox" in the course folder,
// one statement a line (compact JSON). Every copy of the program sharing the folder appends to it
// under one lock, each line flushed to disk before the append returns; what the store accepted is
// taken out by rewriting the file atomically under the same lock. Lines that cannot be read as a
// statement are moved whole to "results.damaged", and what the store refused to
// "results.refused", each behind the store's message, so that neither ever holds up the rest.
class Outbox {
public:
    // One waiting statement.
    struct Entry {
        QString id;
        QByteArray line;
    };
    // A statement the store refused, with its answer.
    struct Refusal {
        QString id;
        QString message;
    };

    explicit Outbox(QString folder);

    QString path() const;
    QString damagedPath() const;
    QString refusedPath() const;

    // Appends the statements, one line each, and flushes them to disk. Throws the runtime's
    // input/output failure when the outbox cannot be written; nothing is appended then.
    void append(const QList<QByteArray>& statements) const;

    // The waiting statements in order, at most `limit` of them (all for a negative limit). A
    // damaged line is moved to the damaged file first and named in `setAside` ("line 3 moved to
    // …/results.damaged"). Throws Failure when the outbox exists but cannot be read.
    QList<Entry> waiting(int limit = -1, QStringList* setAside = nullptr) const;
    // How many statements wait; 0 when there is no outbox.
    int count() const;
    // How many statements the store refused so far.
    int refusedCount() const;

    // Takes out the accepted statements, and moves the refused ones to the refused file. Lines
    // appended meanwhile by other copies stay. Throws Failure when the files cannot be written.
    void remove(const QSet<QString>& accepted, const QList<Refusal>& refused = {}) const;

    // The id of a statement line; empty when the line is no JSON object with a UUID id.
    static QString idOf(const QByteArray& line);

private:
    QString folder_;
};

} // namespace velmora
