// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/course/course_file.h"
#include "support/widget_tree.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

const QString kCourseFolder = QStringLiteral(VELMORA_SOURCE_ROOT "/course");

// Every field the program shows, one line each.
QString dump(const CourseBook& course) {
    QStringList lines{
        QStringLiteral("id=%1 caption=«%2» help=%3 passGrade=%4 gradeSlots=%5 shownTests=%6")
            .arg(course.id, course.caption, course.help)
            .arg(course.passGrade)
            .arg(course.gradeSlots)
            .arg(course.shownTests)};
    const CourseTitlePage& p = course.titlePage;
    for (const QString& text : {p.institution, p.department, p.kind, p.title, p.subject, p.author,
                                p.post, p.programmeCode, p.speciality, p.placeAndYear, p.emblem,
                                p.emblemText, p.cover, p.portrait}) {
        lines.append(QStringLiteral("title «%1»").arg(text));
    }
    for (const CourseMenu& menu : course.menus) {
        lines.append(QStringLiteral("menu %1 «%2» beforeSignIn=%3 holdsTest=%4")
                         .arg(menu.name, menu.caption)
                         .arg(int(menu.beforeSignIn))
                         .arg(int(menu.holdsTest())));
        for (const CourseItem& item : menu.items) {
            lines.append(QStringLiteral("  %1 «%2» kind=%3 document=%4 icon=%5 test=%6 after=%7")
                             .arg(item.name, item.caption)
                             .arg(int(item.kind))
                             .arg(item.document, item.icon)
                             .arg(item.test)
                             .arg(item.afterTest));
        }
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

CourseFileReading shippedFile() {
    QFile file(kCourseFolder + QStringLiteral("/course.toml"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return readCourseFile(file.readAll(), [](const QString& relative) {
        return courseFileExists(kCourseFolder, relative);
    });
}

// The golden file was written from the tables the program was compiled with before the course
// became a file: every caption, name, document, icon and unlock of today's menus.
TEST(ShippedCourse, FileHoldsTodaysCourseWithoutProblems) {
    const CourseFileReading reading = shippedFile();
    for (const CourseProblem& problem : reading.problems) {
        ADD_FAILURE() << problem.line().toStdString();
    }
    test::expectMatchesGolden(QStringLiteral("shipped_course"), dump(reading.course));
}

} // namespace
