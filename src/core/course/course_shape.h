// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Deprecated: the counts of the shipped course, kept only for sign_in.*, session.* and
// unlock_chain.* until they read them from the course (CourseBook: gradeSlots, shownTests,
// passGrade). Nothing new may use them.

namespace velmora {

inline constexpr int kTestSlots = 12;
inline constexpr int kShownGrades = 10;
inline constexpr int kUnlockingTests = 9;
inline constexpr int kPassGrade = 3;

} // namespace velmora
