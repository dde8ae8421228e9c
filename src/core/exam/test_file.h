// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/exam/question.h"

#include <QString>
#include <QStringList>

namespace velmora {

// A test file read question by question through the scrambled store. Nothing is cached: each
// call reads the file anew, relative to the current directory at that moment.
class TestFile {
public:
    // The test of a menu item ("test1"): "\data\tests\test1.ini" below the program folder.
    static TestFile named(const QString& testName);
    // A test file at a path relative to the current directory, beginning with a backslash.
    explicit TestFile(QString relativePath) : relativePath_(std::move(relativePath)) {}

    const QString& relativePath() const { return relativePath_; }

    // Question `number` (1, 2, ...): section `number` in decimal.
    Question question(int number) const;
    // The number of questions to ask as stored under "inf"/"vsego".
    QString totalText() const;
    // The same converted to an integer; throws "'%s' is not a valid integer value" when it is
    // missing or not a decimal number.
    int total() const;
    // The names of all sections in file order; empty when the file cannot be read.
    QStringList sectionNames() const;

private:
    QString relativePath_;
};

} // namespace velmora
