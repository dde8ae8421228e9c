// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/results/results_status.h"

#include "core/storage/failure.h"
#include "core/storage/safe_file.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>

namespace velmora {

QString ResultsStatus::path(const QString& folder) {
    return QDir(folder).filePath(QStringLiteral("results.status"));
}

ResultsStatus ResultsStatus::read(const QString& folder) {
    const std::optional<QByteArray> bytes = readWholeFile(path(folder));
    if (!bytes) {
        return {};
    }
    const QJsonObject object = QJsonDocument::fromJson(*bytes).object();
    return {qint64(object.value(QStringLiteral("sent")).toDouble()),
            object.value(QStringLiteral("lastError")).toString(),
            object.value(QStringLiteral("stopped")).toBool()};
}

void ResultsStatus::write(const QString& folder, const ResultsStatus& status) {
    const QJsonObject object{{QStringLiteral("sent"), double(status.sent)},
                             {QStringLiteral("lastError"), status.lastError},
                             {QStringLiteral("stopped"), status.stopped}};
    const QString file = path(folder);
    const FileLock lock(file);
    if (!lock.held()) {
        throw failures::ioError(lock.error(), file);
    }
    if (const int error =
            writeFileAtomically(file, QJsonDocument(object).toJson(QJsonDocument::Compact));
        error != 0) {
        throw failures::ioError(error, file);
    }
}

QString ResultsStatus::line(qint64 sent, int waiting, const QString& lastError) {
    QString text = QStringLiteral("Отправлено: %1, в очереди: %2").arg(sent).arg(waiting);
    if (!lastError.isEmpty()) {
        text += QStringLiteral(" — ") + lastError;
    }
    return text;
}

} // namespace velmora
