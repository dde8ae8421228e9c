// SPDX-License-Identifier: GPL-3.0-or-later
#include "course_folder.h"

#include "core/storage/failure.h"
#include "core/storage/system_reason.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cerrno>
#include <cstdio>

namespace velmora::launch {
namespace {

constexpr QFileDevice::Permissions ownerReadWrite =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner;

void copyFile(const QFileInfo& from, const QString& to) {
    if (!QFile::copy(from.filePath(), to)) {
        throw Failure(QStringLiteral("cannot copy %1 to %2").arg(from.filePath(), to));
    }
    // A template file without write bits would give a copy the program takes as read-only.
    QFile::setPermissions(to, QFile::permissions(to) | ownerReadWrite);
}

void copyTree(const QString& from, const QString& to) {
    if (!QDir().mkpath(to)) {
        throw Failure(QStringLiteral("cannot create the folder %1").arg(to));
    }
    const QFileInfoList entries = QDir(from).entryInfoList(
        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
    for (const QFileInfo& entry : entries) {
        const QString target = to + QLatin1Char('/') + entry.fileName();
        if (entry.isDir()) {
            copyTree(entry.filePath(), target);
        } else {
            copyFile(entry, target);
        }
    }
}

// Backslashes as slashes whatever the host (QDir::fromNativeSeparators does it on Windows only).
QString withSlashes(QString path) {
    return path.replace(QLatin1Char('\\'), QLatin1Char('/'));
}

// Absolute on the given system: "/x" on Unix; "C:\\x", "C:/x" or a share "\\\\server\\x" on
// Windows (told apart on any host, so not by QDir, which knows only its own system's rules).
bool isAbsolute(const QString& path, Layout layout) {
    if (layout == Layout::Unix) {
        return path.startsWith(QLatin1Char('/'));
    }
    const QString p = withSlashes(path);
    const bool drive =
        p.size() >= 3 && p[0].isLetter() && p[1] == QLatin1Char(':') && p[2] == QLatin1Char('/');
    return drive || p.startsWith(QStringLiteral("//"));
}

} // namespace

const char* userDataVariable(Layout layout) {
    return layout == Layout::Windows ? "APPDATA" : "XDG_DATA_HOME";
}

QString userCourseFolder(const QString& userData, const QString& home, Layout layout,
                         const QString& course) {
    const QString fallback = layout == Layout::Windows ? QStringLiteral("AppData/Roaming")
                                                       : QStringLiteral(".local/share");
    const QString base =
        isAbsolute(userData, layout) ? withSlashes(userData) : QDir(home).filePath(fallback);
    return QDir::cleanPath(base + QStringLiteral("/velmora/") + course);
}

QString installedTemplate(const QString& launcherFolder, Layout layout) {
    const QString below = layout == Layout::Windows ? QStringLiteral("/course")
                                                    : QStringLiteral("/../share/velmora/course");
    return QDir::cleanPath(launcherFolder + below);
}

QString installedCourses(const QString& launcherFolder, Layout layout) {
    const QString below = layout == Layout::Windows ? QStringLiteral("/courses")
                                                    : QStringLiteral("/../share/velmora/courses");
    return QDir::cleanPath(launcherFolder + below);
}

QStringList installedCourseIds(const QString& coursesFolder) {
    QStringList ids;
    for (const QString& name :
         QDir(coursesFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        if (QFileInfo(coursesFolder + QLatin1Char('/') + name + QStringLiteral("/course.toml"))
                .isFile()) {
            ids.append(name);
        }
    }
    return ids;
}

QString installedCourse(const QString& coursesFolder, const QString& id) {
    const QStringList ids = installedCourseIds(coursesFolder);
    if (!ids.contains(id)) {
        throw Failure(
            QStringLiteral("no course \"%1\" is installed; installed: %2")
                .arg(id, ids.isEmpty() ? QStringLiteral("none") : ids.join(QStringLiteral(", "))));
    }
    return coursesFolder + QLatin1Char('/') + id;
}

bool isCourseFolder(const QString& folder) {
    const QStringList folders = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    return std::any_of(folders.begin(), folders.end(), [](const QString& name) {
        return name.compare(QStringLiteral("data"), Qt::CaseInsensitive) == 0;
    });
}

bool createFromTemplate(const QString& templateFolder, const QString& target) {
    const QFileInfo existing(target);
    if (existing.exists() || existing.isSymLink()) {
        if (!existing.isDir()) {
            throw Failure(QStringLiteral("%1 is not a folder").arg(target));
        }
        return false;
    }
    if (!QFileInfo(templateFolder).isDir()) {
        throw Failure(QStringLiteral("the course folder template %1 is missing; reinstall velmora")
                          .arg(templateFolder));
    }
    const QString parent = existing.absolutePath();
    if (!QDir().mkpath(parent)) {
        throw Failure(QStringLiteral("cannot create the folder %1").arg(parent));
    }
    QTemporaryDir partial(parent + QLatin1Char('/') + QLatin1Char('.') + existing.fileName() +
                          QStringLiteral(".new-XXXXXX"));
    if (!partial.isValid()) {
        throw Failure(
            QStringLiteral("cannot create a folder in %1: %2").arg(parent, partial.errorString()));
    }
    copyTree(templateFolder, partial.path());
    if (std::rename(QFile::encodeName(partial.path()).constData(),
                    QFile::encodeName(existing.absoluteFilePath()).constData()) != 0) {
        const QString reason = failures::systemReason(errno);
        // Another start made the folder first: use that one; the partial copy goes away.
        if (QFileInfo(target).isDir()) {
            return false;
        }
        throw Failure(QStringLiteral("cannot create %1: %2").arg(target, reason));
    }
    partial.setAutoRemove(false);
    return true;
}

QString checkedCourseFolder(const QString& folder) {
    const QFileInfo info(folder);
    if (!info.isDir()) {
        throw Failure(QStringLiteral("the course folder %1 does not exist").arg(folder));
    }
    if (!isCourseFolder(info.absoluteFilePath())) {
        throw Failure(QStringLiteral("%1 is not a course folder: it has no data folder")
                          .arg(info.absoluteFilePath()));
    }
    return QDir::cleanPath(info.absoluteFilePath());
}

} // namespace velmora::launch
