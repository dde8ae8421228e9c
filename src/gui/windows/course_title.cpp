// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/windows/course_title.h"

#include "core/course/course_book.h"
#include "core/storage/data_path.h"

#include <QFileInfo>

namespace velmora {
namespace {

// A picture path of the course folder, written with "/": the folder's file when it has one, else
// the program's copy of the shipped course's (":/course/data/img/emblem.svg"), else the folder's
// path all the same, which shows no picture.
QString pictureFile(const QString& relative) {
    if (relative.isEmpty()) {
        return {};
    }
    QString inFolder =
        programFolderPath(QLatin1Char('\\') + QString(relative).replace(u'/', u'\\'));
    if (QFileInfo(inFolder).isFile()) {
        return inFolder;
    }
    const QString builtIn = QStringLiteral(":/course/") + relative;
    return QFileInfo(builtIn).isFile() ? builtIn : inFolder;
}

} // namespace

CourseTitle CourseTitle::of(const CourseBook& course) {
    const CourseTitlePage& page = course.titlePage;
    return {page.institution,
            page.department,
            page.kind,
            page.title,
            page.subject,
            page.author,
            page.post,
            page.programmeCode,
            page.speciality,
            page.placeAndYear,
            pictureFile(page.emblem),
            page.emblemText,
            pictureFile(page.cover),
            pictureFile(page.portrait)};
}

CourseTitle CourseTitle::current() {
    return of(CourseBook::current());
}

} // namespace velmora
