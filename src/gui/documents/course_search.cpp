// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/documents/course_search.h"

#include "core/search/course_index.h"
#include "core/storage/failure.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>
#include <exception>

namespace velmora {
namespace {

struct IndexUpdate {
    QStringList unreadable;
    QString failure;
    bool rebuilt = false; // the index file was dropped and written anew
};

// Brings the index in `path` up to date with `documents`, first dropping it when `rebuild` is set
// or when the update finds it damaged. Runs on the worker thread.
IndexUpdate updateIndex(const QString& path, std::chrono::milliseconds timeout,
                        const QList<IndexedDocument>& documents, bool rebuild) {
    IndexUpdate done;
    try {
        if (!rebuild) {
            CourseIndex index(path, timeout);
            try {
                done.unreadable = index.update(documents);
                return done;
            } catch (const Failure&) {
                if (!index.damaged()) {
                    throw;
                }
            }
        }
        CourseIndex::drop(path);
        done.rebuilt = true;
        done.unreadable = CourseIndex(path, timeout).update(documents);
    } catch (const std::exception& e) {
        done.failure = QString::fromUtf8(e.what());
    }
    return done;
}

} // namespace

CourseSearch::CourseSearch(QString databasePath, QObject* parent)
    : QObject(parent), databasePath_(std::move(databasePath)),
      watcher_(new QFileSystemWatcher(this)), changed_(new QTimer(this)) {
    // A teacher saving a document writes it in several steps: update once they are done.
    changed_->setSingleShot(true);
    changed_->setInterval(500);
    connect(changed_, &QTimer::timeout, this, &CourseSearch::startUpdate);
    connect(watcher_, &QFileSystemWatcher::fileChanged, changed_, qOverload<>(&QTimer::start));
    connect(watcher_, &QFileSystemWatcher::directoryChanged, changed_, qOverload<>(&QTimer::start));
}

CourseSearch::~CourseSearch() {
    if (worker_.joinable()) {
        worker_.join();
    }
}

void CourseSearch::index(const QList<IndexedDocument>& documents) {
    documents_ = documents;
    watch();
    startUpdate();
}

void CourseSearch::watch() {
    const QStringList old = watcher_->files() + watcher_->directories();
    if (!old.isEmpty()) {
        watcher_->removePaths(old);
    }
    QSet<QString> paths;
    for (const IndexedDocument& document : documents_) {
        const QFileInfo file(document.path);
        paths << file.absolutePath(); // a document replaced or created anew
        if (file.exists()) {
            paths << file.absoluteFilePath();
        }
    }
    if (!paths.isEmpty()) {
        watcher_->addPaths(paths.values());
    }
}

void CourseSearch::startUpdate() {
    if (running_) {
        again_ = true; // once this one is done
        return;
    }
    if (worker_.joinable()) {
        worker_.join();
    }
    running_ = true;
    worker_ = std::thread([this, path = databasePath_, documents = documents_,
                           timeout = busyTimeout_, rebuild = std::exchange(rebuild_, false)] {
        const IndexUpdate done = updateIndex(path, timeout, documents, rebuild);
        QMetaObject::invokeMethod(
            this, [this, done] { finishUpdate(done.unreadable, done.failure, done.rebuilt); },
            Qt::QueuedConnection);
    });
}

void CourseSearch::finishUpdate(const QStringList& unreadable, const QString& failure,
                                bool rebuilt) {
    running_ = false;
    unreadable_ = unreadable;
    failure_ = failure;
    if (rebuilt) {
        searcher_.reset(); // it still reads the file dropped
    }
    // A damaged index found meanwhile is opened once built anew.
    if (failure.isEmpty() && searcher_ == nullptr && !rebuild_) {
        try {
            searcher_ = std::make_unique<CourseIndex>(databasePath_, busyTimeout_);
        } catch (const std::exception& e) {
            failure_ = QString::fromUtf8(e.what());
        }
    }
    watch(); // a file written anew is another file to watch
    Q_EMIT updated();
    if (std::exchange(again_, false)) {
        startUpdate();
    }
}

void CourseSearch::retry() {
    if (!failure_.isEmpty() && !running_) {
        failure_.clear();
        startUpdate();
    }
}

QList<SearchHit> CourseSearch::search(const QString& typed, const QSet<QString>& allowed) {
    if (searcher_ == nullptr) {
        return {};
    }
    try {
        return searcher_->search(typed, allowed);
    } catch (const Failure&) {
        if (!searcher_->damaged()) {
            throw;
        }
    }
    searcher_.reset();
    rebuild_ = true;
    startUpdate();
    return {};
}

} // namespace velmora
