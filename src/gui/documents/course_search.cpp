// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/documents/course_search.h"

#include "core/search/course_index.h"
#include "core/storage/failure.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>
#include <exception>

namespace velmora {

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
    worker_ =
        std::thread([this, path = databasePath_, documents = documents_, timeout = busyTimeout_] {
            QStringList unreadable;
            QString failure;
            try {
                CourseIndex index(path, timeout);
                unreadable = index.update(documents);
            } catch (const std::exception& e) {
                failure = QString::fromUtf8(e.what());
            }
            QMetaObject::invokeMethod(
                this, [this, unreadable, failure] { finishUpdate(unreadable, failure); },
                Qt::QueuedConnection);
        });
}

void CourseSearch::finishUpdate(const QStringList& unreadable, const QString& failure) {
    running_ = false;
    unreadable_ = unreadable;
    failure_ = failure;
    if (failure.isEmpty() && searcher_ == nullptr) {
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

QList<SearchHit> CourseSearch::search(const QString& typed, const QSet<QString>& allowed) const {
    return searcher_ == nullptr ? QList<SearchHit>() : searcher_->search(typed, allowed);
}

} // namespace velmora
