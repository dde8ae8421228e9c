// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/search/indexed_document.h"

#include <QList>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <chrono>
#include <memory>
#include <thread>

class QFileSystemWatcher;
class QTimer;

namespace velmora {

class CourseIndex;

// The course's full-text index as the windows use it: brought up to date on a thread of its own,
// so the program never waits for it, and again when a document file changes; searched on the GUI
// thread once ready. An index found damaged is dropped and built again on that thread.
class CourseSearch : public QObject {
    Q_OBJECT
public:
    // The index is kept in the file `databasePath`.
    explicit CourseSearch(QString databasePath, QObject* parent = nullptr);
    ~CourseSearch() override;
    CourseSearch(const CourseSearch&) = delete;
    CourseSearch& operator=(const CourseSearch&) = delete;

    // How long a step on the index waits for another copy of the program that holds it (5 s).
    void setBusyTimeout(std::chrono::milliseconds timeout) { busyTimeout_ = timeout; }

    // Starts bringing the index up to date with `documents` and watches their files.
    void index(const QList<IndexedDocument>& documents);

    // Whether the index has been brought up to date at least once.
    bool ready() const { return searcher_ != nullptr; }
    // Why the index cannot be used, or empty.
    QString failure() const { return failure_; }
    // The documents the last update could not read.
    QStringList unreadable() const { return unreadable_; }
    // The documents among `allowed` that match `typed`, best first; empty before ready. A query
    // that finds the index damaged drops it, and the index is built anew in the background: not
    // ready, and nothing found, until then. Throws Failure when the index fails otherwise.
    QList<SearchHit> search(const QString& typed, const QSet<QString>& allowed);
    // Starts an update again when the last one failed (another copy of the program held the index
    // too long, say); the search window calls it each time it is opened.
    void retry();

Q_SIGNALS:
    // An update of the index has finished (or failed).
    void updated();

private:
    void startUpdate();
    void finishUpdate(const QStringList& unreadable, const QString& failure, bool rebuilt);
    void watch();

    QString databasePath_;
    std::chrono::milliseconds busyTimeout_ = std::chrono::seconds(5);
    QList<IndexedDocument> documents_;
    std::thread worker_;
    bool running_ = false;
    bool again_ = false;
    bool rebuild_ = false; // the next update drops the index and builds it anew
    std::unique_ptr<CourseIndex> searcher_;
    QStringList unreadable_;
    QString failure_;
    QFileSystemWatcher* watcher_;
    QTimer* changed_;
};

} // namespace velmora
