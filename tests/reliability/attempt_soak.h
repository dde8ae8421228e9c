// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace velmora::soak {

// The killed-attempt soak: a student's attempt at a test with a draw and shuffled answers, its
// taker killed at random moments `runs` times. After each kill the attempt file must read back
// whole, hold every answer confirmed before the kill and at most the one answer in flight, each
// question once, with the same draw and orders as when it began.
int runAttemptKills(int runs);
// The taker, in the current folder: goes on with the saved attempt (or begins one), answers,
// saves the attempt after each answer and then confirms the answer on "confirmed.txt", as the
// main window saves the attempt before the answer log line.
void runAttemptTaker();

} // namespace velmora::soak
