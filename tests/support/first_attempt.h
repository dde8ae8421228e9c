// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/course_driver.h"
#include "support/test_file_builder.h"

namespace velmora::test {

// A student's first attempt in a fresh course: test 1 has three questions, correct A, B, C;
// "Айгүл" registers, signs in and takes it with A, B, A (grade 4), ending on the progress screen.
inline void registerAndTakeFirstTest(CourseDriver& course) {
    using namespace Qt::StringLiterals;
    writeTestFile(u"test1"_s, numberedQuestions({1, 2, 3}), u"3"_s);
    course.start();
    course.registerStudent(u"Айгүл"_s, u"pw"_s);
    course.signIn(u"Айгүл"_s, u"pw"_s);
    course.startTest(1);
    course.answer({1, 2, 1});
}

} // namespace velmora::test
