// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/results/statement.h"

#include <QString>

namespace velmora {

// Puts the statements of what happens in the program into the outbox of the program folder's
// course, in the step that writes the test log, before the student sees the result. A course
// folder without results.toml records nothing.
class ResultsRecorder {
public:
    // A finished attempt. Throws the outbox's failure, or results.toml's.
    static void completed(const Statement::Completed& attempt);
    // An answer; false when it could not be recorded, for a lost answer must never disturb the
    // test.
    static bool answered(const Statement::Answered& answer);
    // A student registered. Throws the outbox's failure, or results.toml's.
    static void registered(const QString& username);
};

} // namespace velmora
