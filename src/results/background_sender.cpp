// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/background_sender.h"

#include "core/course/course_book.h"
#include "core/results/outbox.h"
#include "core/results/results_settings.h"
#include "results/lrs_client.h"
#include "results/results_sender.h"

#include <QDir>
#include <QFileInfo>

namespace velmora {
namespace {

constexpr int kLookMs = 2'000;
constexpr int kLongestPauseMs = 5 * 60'000;
constexpr int kStopLookMs = 50;

} // namespace

BackgroundSender::BackgroundSender(QString folder) : folder_(std::move(folder)) {
    thread_.reset(QThread::create([this] { run(); }));
    thread_->setObjectName(QStringLiteral("results sender"));
    thread_->start(QThread::LowPriority);
}

BackgroundSender::~BackgroundSender() {
    stop();
}

void BackgroundSender::stop() {
    stopping_ = true;
    if (thread_) {
        thread_->wait();
    }
}

int BackgroundSender::pauseMs(int failures) {
    if (failures <= 0) {
        return kLookMs;
    }
    const qint64 pause = qint64(kLookMs) << qMin(failures - 1, 20);
    return int(qMin<qint64>(pause, kLongestPauseMs));
}

void BackgroundSender::run() {
    int failures = 0;
    bool unauthorised = false;
    qint64 slept = 0;
    while (!stopping_) {
        QThread::msleep(kStopLookMs);
        slept += kStopLookMs;
        if (unauthorised || slept < pauseMs(failures)) {
            continue;
        }
        slept = 0;
        const Outbox outbox(folder_);
        const QFileInfo file(outbox.path());
        if (!file.exists() || file.size() == 0) {
            continue;
        }
        try {
            const std::optional<ResultsSettings> settings =
                ResultsSettings::read(folder_, CourseBook::read(folder_));
            if (!settings) {
                continue;
            }
            LrsClient client(*settings);
            // The stop flag reaches a request in flight through the client.
            std::atomic<bool> watching = true;
            std::unique_ptr<QThread> watcher(QThread::create([&] {
                while (watching && !stopping_) {
                    QThread::msleep(kStopLookMs);
                }
                if (stopping_) {
                    client.stop();
                }
            }));
            watcher->start();
            const SendReport report =
                ResultsSender(folder_, client).send([this] { return stopping_.load(); });
            watching = false;
            watcher->wait();
            unauthorised = report.stopped;
            failures = report.error.isEmpty() ? 0 : failures + 1;
        } catch (const std::exception&) {
            ++failures; // a course folder that cannot be read now may be readable later
        }
    }
}

} // namespace velmora
