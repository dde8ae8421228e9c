// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/course/course_book.h"

#include "core/course/course_file.h"
#include "core/storage/data_path.h"
#include "core/storage/failure.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <memory>
#include <utility>

namespace velmora {
namespace {

// The state of a folder's course file: its path, modification time and size, or the built-in
// copy's mark for a folder without one.
QString fileState(const QString& folder) {
    const QFileInfo file(matchLetterCase(folder + QLatin1Char('/') + kCourseFileName));
    if (!file.isFile()) {
        return folder + QStringLiteral("\n(built-in)");
    }
    return QStringLiteral("%1\n%2\n%3")
        .arg(file.absoluteFilePath())
        .arg(file.lastModified().toMSecsSinceEpoch())
        .arg(file.size());
}

QByteArray readWhole(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw Failure(QStringLiteral("%1: %2").arg(kCourseFileName, file.errorString()));
    }
    return file.readAll();
}

} // namespace

bool CourseMenu::holdsTest() const {
    for (const CourseItem& item : items) {
        if (item.kind == CourseItemKind::Test) {
            return true;
        }
    }
    return false;
}

int CourseBook::highestTest() const {
    int highest = 0;
    for (const CourseItem* item : items()) {
        if (item->kind == CourseItemKind::Test) {
            highest = std::max(highest, item->test);
        }
    }
    return highest;
}

std::vector<const CourseItem*> CourseBook::items() const {
    std::vector<const CourseItem*> all;
    for (const CourseMenu& menu : menus) {
        for (const CourseItem& item : menu.items) {
            all.push_back(&item);
        }
    }
    return all;
}

const CourseItem* CourseBook::item(const QString& name) const {
    for (const CourseItem* item : items()) {
        if (item->name.compare(name, Qt::CaseInsensitive) == 0) {
            return item;
        }
    }
    return nullptr;
}

TestSettings CourseBook::testSettings(int test) const {
    for (const CourseItem* item : items()) {
        if (item->kind == CourseItemKind::Test && item->test == test) {
            return item->settings;
        }
    }
    return {};
}

QString CourseBook::path(const QString& relative) const {
    return matchLetterCase((folder.isEmpty() ? programFolder() : folder) + QLatin1Char('/') +
                           relative);
}

QByteArray CourseBook::builtInText() {
    return readWhole(QStringLiteral(":/course/course.toml"));
}

CourseBook CourseBook::read(const QString& folder) {
    const QString file = matchLetterCase(folder + QLatin1Char('/') + kCourseFileName);
    CourseFileReading reading;
    if (QFileInfo(file).isFile()) {
        reading = readCourseFile(readWhole(file), [&](const QString& relative) {
            return courseFileExists(folder, relative);
        });
    } else {
        // An older course folder: the shipped course, whose documents are the browser's matter
        // as they have always been.
        reading = readCourseFile(builtInText(), [](const QString&) { return true; });
    }
    if (reading.hasErrors()) {
        throw Failure(reading.firstError());
    }
    reading.course.folder = folder;
    return std::move(reading.course);
}

const CourseBook& CourseBook::current() {
    // Every course read stays: callers hold references to it for as long as they run.
    static QMutex mutex;
    static std::vector<std::pair<QString, std::unique_ptr<const CourseBook>>> courses;
    const QString folder = programFolder();
    const QString state = fileState(folder);
    const QMutexLocker lock(&mutex);
    for (const auto& [known, course] : courses) {
        if (known == state) {
            return *course;
        }
    }
    courses.emplace_back(state, std::make_unique<const CourseBook>(read(folder)));
    return *courses.back().second;
}

} // namespace velmora
