// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace velmora {

// Answers of every question: "a1" to "a5" in a test file, shown against A to E.
inline constexpr int kAnswersPerQuestion = 5;

// The highest test number a grade table holds ("test1" … "test12"): a course's grade slots are at
// most this many. Twelve while the session keeps its table of twelve.
inline constexpr int kMaxGradeSlots = 12;

} // namespace velmora
