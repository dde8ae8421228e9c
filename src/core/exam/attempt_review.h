// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/exam/attempt_file.h"

#include <QString>
#include <functional>
#include <optional>

namespace velmora {

// An attempt as its student saw it: each question asked, in order, with the answers in the order
// shown, the answer chosen and the right one, under the letters of the screen.
class AttemptReview {
public:
    // The review as plain text. Reads the attempt's test file; throws its failure when it is
    // missing.
    static QString text(const Attempt& attempt);

    // The last attempt of `username` under a test's settings that the answer log of `reportfile`
    // holds: its test and seed from the log, its questions and orders made again from the seed
    // with the test's settings (`settingsOf` a test number), its answers from the log. Nothing
    // when the log holds no such attempt of theirs.
    static std::optional<Attempt> lastLogged(const QString& reportfile, const QString& username,
                                             const std::function<TestSettings(int)>& settingsOf);
};

} // namespace velmora
