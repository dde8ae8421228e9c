// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The course's shape: how many tests, grades and answers there are. Every count of these in the
// program, velmora-admin and the build comes from here (tools/admin/CMakeLists.txt reads
// kCourseTests from this file).

namespace velmora {

// Slots of the grade table and of the user register: tests 1 to 12, stored as "test1" to "test12".
inline constexpr int kTestSlots = 12;
// Grades of tests 1 to 10: shown on the progress screen, read at sign-in and listed by
// velmora-admin's "grades"; slots 11 and 12 are kept but never shown.
inline constexpr int kShownGrades = 10;
// Tests 1 to 9 each unlock the lecture and the test that follow them once passed.
inline constexpr int kUnlockingTests = 9;
// The lowest passing grade of the traditional grades 1 to 5.
inline constexpr int kPassGrade = 3;
// The course's own tests, "test1" to "test5", made from course/sources/test1.txt ... test5.txt.
inline constexpr int kCourseTests = 5;
// Answers of every question: "a1" to "a5" in a test file, shown against A to E.
inline constexpr int kAnswersPerQuestion = 5;

static_assert(kShownGrades <= kTestSlots && kUnlockingTests < kShownGrades);
static_assert(kCourseTests <= kTestSlots);

} // namespace velmora
