// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace velmora {

struct CourseBook;

// The traditional grade 1 to 5 of a share of correct answers. Bands are closed at their lower
// end: 80 % and more give 5, 60 % 4, 40 % 3, 20 % 2, less 1. The share is compared as an exact
// fraction in integer arithmetic, so a share that lies on a limit (3 of 5, 2 of 5) always falls
// into the higher band.
class GradeBands {
public:
    // `total` must be at least 1; `correct` is clamped to 0 .. total.
    static int grade(int correct, int total);
    // Whether `grade` passes a test of `course`: its pass grade or more.
    static bool passed(int grade, const CourseBook& course);
    // passed, in the course of the program folder.
    static bool passed(int grade);
};

} // namespace velmora
