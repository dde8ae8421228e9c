// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/course/course_book.h"
#include "gui/windows/course_title.h"
#include "support/temp_folder.h"

#include <QDir>
#include <gtest/gtest.h>

using velmora::CourseBook;
using velmora::CourseTitle;
using velmora::test::TempFolder;

namespace {

// The windows show the course's texts as the course gives them, and its pictures from the course
// folder; a picture the folder lacks is the program's copy of the shipped one where there is one.
TEST(CourseTitle, TakesTheCoursesTextsAndFindsItsPictures) {
    const TempFolder folder;
    folder.write(QStringLiteral("data/img/emblem.svg"), "<svg/>");
    CourseBook course;
    velmora::CourseTitlePage& page = course.titlePage;
    page.institution = QStringLiteral("Университет");
    page.department = QStringLiteral("Кафедра");
    page.kind = QStringLiteral("Учебное пособие");
    page.title = QStringLiteral("Химия");
    page.subject = QStringLiteral("по химии");
    page.author = QStringLiteral("А. Иванова");
    page.post = QStringLiteral("доцент");
    page.programmeCode = QStringLiteral("6B0501");
    page.speciality = QStringLiteral("Химия");
    page.placeAndYear = QStringLiteral("Алматы – 2025");
    page.emblem = QStringLiteral("data/img/emblem.svg");
    page.emblemText = QStringLiteral("Герб");
    page.cover = QStringLiteral("data/img/cover.svg");
    page.portrait = QStringLiteral("data/img/photo.svg");

    const CourseTitle title = CourseTitle::of(course);
    const QStringList texts{title.institution,  title.department,    title.kind,
                            title.title,        title.subject,       title.author,
                            title.post,         title.programmeCode, title.speciality,
                            title.placeAndYear, title.emblemText};
    EXPECT_EQ(texts, (QStringList{page.institution, page.department, page.kind, page.title,
                                  page.subject, page.author, page.post, page.programmeCode,
                                  page.speciality, page.placeAndYear, page.emblemText}));
    const QString here = QDir::currentPath();
    struct Row {
        QString picture;
        QString file;
    };
    const Row rows[] = {
        {title.emblem, here + QStringLiteral("/data/img/emblem.svg")},  // the folder's own
        {title.cover, QStringLiteral(":/course/data/img/cover.svg")},   // the shipped copy
        {title.portrait, here + QStringLiteral("/data/img/photo.svg")}, // none: no picture
    };
    for (const Row& row : rows) {
        EXPECT_EQ(QDir::cleanPath(row.picture), QDir::cleanPath(row.file));
    }
}

} // namespace
