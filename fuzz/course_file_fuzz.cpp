// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the course file reader: any bytes give a list of problems, never a crash; every problem
// of course.toml has a place in the file; a course read without errors has unique names (letter
// case ignored), a caption for every item, and every after_test names one of its tests and not
// the item's own.

#include "core/course/course_file.h"
#include "fuzz_input.h"

#include <QSet>

using velmora::CourseItemKind;
using velmora::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    // Odd-length paths are missing, so both answers are met.
    const auto reading =
        velmora::readCourseFile(text, [](const QString& path) { return path.size() % 2 == 0; });
    for (const velmora::CourseProblem& problem : reading.problems) {
        check(problem.place.line >= 1 && problem.place.column >= 1);
        check(problem.line().startsWith(QStringLiteral("course.toml:")));
    }
    if (reading.hasErrors()) {
        return 0;
    }
    const velmora::CourseBook& course = reading.course;
    QSet<QString> names;
    QSet<int> tests;
    for (const velmora::CourseMenu& menu : course.menus) {
        check(!menu.name.isEmpty());
        names.insert(menu.name.toLower());
    }
    for (const velmora::CourseItem* item : course.items()) {
        check(!item->name.isEmpty() && !item->caption.isEmpty());
        names.insert(item->name.toLower());
        if (item->kind == CourseItemKind::Test) {
            tests.insert(item->test);
        }
    }
    check(names.size() == qsizetype(course.menus.size() + course.items().size()));
    check(course.gradeSlots >= course.highestTest());
    check(course.shownTests <= course.gradeSlots);
    for (const velmora::CourseItem* item : course.items()) {
        if (item->afterTest != 0) {
            check(tests.contains(item->afterTest));
            check(!(item->kind == CourseItemKind::Test && item->test == item->afterTest));
        }
        if (item->kind == CourseItemKind::Document) {
            check(item->document.size() % 2 == 0);
        }
    }
    return 0;
}
