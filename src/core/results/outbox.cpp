// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/results/outbox.h"

#include "core/storage/failure.h"
#include "core/storage/safe_file.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUuid>

namespace velmora {
namespace {

// Appends and rewrites of the outbox both take this lock: an append never lands in a file that a
// rewrite is about to replace.
class OutboxLock {
public:
    explicit OutboxLock(const QString& outbox) : lock_(outbox + QStringLiteral(".writers")) {
        if (!lock_.held()) {
            throw failures::ioError(lock_.error(), outbox);
        }
    }

private:
    FileLock lock_;
};

QList<QByteArray> linesOf(const QByteArray& bytes) {
    QList<QByteArray> lines;
    for (QByteArray line : bytes.split('\n')) {
        if (line.endsWith('\r')) {
            line.chop(1);
        }
        if (!line.trimmed().isEmpty()) {
            lines << line;
        }
    }
    return lines;
}

QByteArray joined(const QList<QByteArray>& lines) {
    QByteArray text;
    for (const QByteArray& line : lines) {
        text += line + '\n';
    }
    return text;
}

QList<QByteArray> readLines(const QString& path) {
    if (!QFile::exists(path)) {
        return {};
    }
    int error = 0;
    const std::optional<QByteArray> bytes = readWholeFile(path, &error);
    if (!bytes) {
        throw failures::cannotOpenFile(path, error);
    }
    return linesOf(*bytes);
}

void appendLines(const QString& path, const QByteArray& text) {
    if (const int error = appendToFile(path, text); error != 0) {
        throw failures::ioError(error, path);
    }
}

void rewrite(const QString& path, const QList<QByteArray>& lines) {
    if (const int error = writeFileAtomically(path, joined(lines)); error != 0) {
        throw failures::ioError(error, path);
    }
}

} // namespace

Outbox::Outbox(QString folder) : folder_(std::move(folder)) {}

QString Outbox::path() const {
    return QDir(folder_).filePath(QStringLiteral("results.outbox"));
}

QString Outbox::damagedPath() const {
    return QDir(folder_).filePath(QStringLiteral("results.damaged"));
}

QString Outbox::refusedPath() const {
    return QDir(folder_).filePath(QStringLiteral("results.refused"));
}

void Outbox::append(const QList<QByteArray>& statements) const {
    const OutboxLock lock(path());
    appendLines(path(), joined(statements));
}

QList<Outbox::Entry> Outbox::waiting(int limit, QStringList* setAside) const {
    const OutboxLock lock(path());
    const QList<QByteArray> lines = readLines(path());
    QList<Entry> entries;
    QList<QByteArray> kept;
    QByteArray damaged;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString id = idOf(lines[i]);
        if (id.isEmpty()) {
            damaged += lines[i] + '\n';
            if (setAside != nullptr) {
                *setAside << QStringLiteral("строка %1 очереди отложена в %2")
                                 .arg(i + 1)
                                 .arg(QDir::toNativeSeparators(damagedPath()));
            }
            continue;
        }
        kept << lines[i];
        if (limit < 0 || entries.size() < limit) {
            entries.append({id, lines[i]});
        }
    }
    if (!damaged.isEmpty()) {
        // Kept first, then taken out: a failure in between leaves the line in both files,
        // never in neither.
        appendLines(damagedPath(), damaged);
        rewrite(path(), kept);
    }
    return entries;
}

int Outbox::count() const {
    return int(readLines(path()).size());
}

int Outbox::refusedCount() const {
    int count = 0;
    for (const QByteArray& line : readLines(refusedPath())) {
        count += line.startsWith('{') ? 1 : 0;
    }
    return count;
}

void Outbox::remove(const QSet<QString>& accepted, const QList<Refusal>& refused) const {
    if (accepted.isEmpty() && refused.isEmpty()) {
        return;
    }
    const OutboxLock lock(path());
    QHash<QString, QString> refusals;
    for (const Refusal& refusal : refused) {
        refusals.insert(refusal.id, refusal.message);
    }
    QList<QByteArray> kept;
    QByteArray moved;
    for (const QByteArray& line : readLines(path())) {
        const QString id = idOf(line);
        if (const auto found = refusals.constFind(id); found != refusals.cend()) {
            // The store's message on a line of its own, "#" first, then the statement.
            moved += "# " + found.value().simplified().toUtf8() + '\n' + line + '\n';
        } else if (!accepted.contains(id)) {
            kept << line;
        }
    }
    if (!moved.isEmpty()) {
        appendLines(refusedPath(), moved);
    }
    rewrite(path(), kept);
}

QString Outbox::idOf(const QByteArray& line) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        return {};
    }
    const QString id = document.object().value(QStringLiteral("id")).toString();
    return QUuid::fromString(id).isNull() ? QString() : id;
}

} // namespace velmora
