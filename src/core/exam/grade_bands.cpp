// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exam/grade_bands.h"

#include "core/course/course_book.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

namespace velmora {

int GradeBands::grade(int correct, int total) {
    if (total < 1) {
        throw std::invalid_argument("GradeBands::grade: total below 1");
    }
    const std::int64_t c = std::clamp(correct, 0, total);
    const std::int64_t t = total;
    // correct / total >= k / 5  <=>  5 * correct >= k * total
    for (int k = 4; k >= 1; --k) {
        if (5 * c >= k * t) {
            return k + 1;
        }
    }
    return 1;
}

bool GradeBands::passed(int grade, const CourseBook& course) {
    return course.passes(grade);
}

bool GradeBands::passed(int grade) {
    return passed(grade, CourseBook::current());
}

} // namespace velmora
