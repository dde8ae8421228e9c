#include "access/data_path.h"

#include <QDir>
#include <QFileInfo>

namespace velmora {
namespace {

QString withSlashes(QString path) { return path.replace(QLatin1Char('\\'), QLatin1Char('/')); }

// The entry of `folder` named like `name` but for letter case, when there is exactly one.
QString caseVariant(const QString& folder, const QString& name) {
    const QStringList entries =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    QString found;
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0) {
            if (!found.isEmpty()) {
                return {};
            }
            found = entry;
        }
    }
    return found;
}

} // namespace

QString matchLetterCase(const QString& path) {
    if (path.isEmpty() || QFileInfo::exists(path)) {
        return path;
    }
    const QStringList parts = path.split(QLatin1Char('/'));
    QString built = parts.first(); // "" for an absolute path, else the first name
    qsizetype i = 1;
    if (!built.isEmpty() && !QFileInfo::exists(built)) {
        const QString variant = caseVariant(QStringLiteral("."), built);
        if (!variant.isEmpty()) {
            built = variant;
        }
    }
    for (; i < parts.size(); ++i) {
        const QString& part = parts[i];
        const QString folder = built.isEmpty() ? QStringLiteral("/") : built;
        QString next = built + QLatin1Char('/') + part;
        if (!part.isEmpty() && !QFileInfo::exists(next)) {
            const QString variant = caseVariant(folder, part);
            if (!variant.isEmpty()) {
                next = built + QLatin1Char('/') + variant;
            }
        }
        built = next;
    }
    return built;
}

QString programFolderPath(const QString& relative) {
    return matchLetterCase(QDir::currentPath() + withSlashes(relative));
}

QString openPath(const QString& name) {
    const QString path = withSlashes(name);
    if (QDir::isAbsolutePath(path)) {
        return matchLetterCase(path);
    }
    return matchLetterCase(QDir::currentPath() + QLatin1Char('/') + path);
}

} // namespace velmora
