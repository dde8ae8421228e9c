// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace velmora {

// Answers of every question: "a1" to "a5" in a test file, shown against A to E.
inline constexpr int kAnswersPerQuestion = 5;

// The highest test number a grade table holds ("test1" … "test99"): a course's grade slots are at
// most this many (the course file refuses more).
inline constexpr int kMaxGradeSlots = 99;

} // namespace velmora
