// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/results/results_recorder.h"

#include "core/course/course_book.h"
#include "core/results/outbox.h"
#include "core/results/results_settings.h"
#include "core/storage/data_path.h"

#include <QDateTime>
#include <QUuid>
#include <functional>

namespace velmora {
namespace {

// Makes the statement and appends it, when the program folder's course sends results.
void record(const std::function<QJsonObject(const ResultsSettings&, const QUuid&,
                                            const QDateTime&)>& make) {
    const QString folder = programFolder();
    const std::optional<ResultsSettings> settings =
        ResultsSettings::read(folder, CourseBook::current());
    if (!settings) {
        return;
    }
    Outbox(folder).append(
        {Statement::line(make(*settings, QUuid::createUuid(), QDateTime::currentDateTimeUtc()))});
}

} // namespace

void ResultsRecorder::completed(const Statement::Completed& attempt) {
    record([&](const ResultsSettings& settings, const QUuid& id, const QDateTime& when) {
        return Statement::completed(settings, attempt, id, when);
    });
}

bool ResultsRecorder::answered(const Statement::Answered& answer) {
    try {
        record([&](const ResultsSettings& settings, const QUuid& id, const QDateTime& when) {
            return Statement::answered(settings, answer, id, when);
        });
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void ResultsRecorder::registered(const QString& username) {
    record([&](const ResultsSettings& settings, const QUuid& id, const QDateTime& when) {
        return Statement::registered(settings, username, id, when);
    });
}

} // namespace velmora
