// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/exam/question.h"

#include <QString>
#include <optional>

namespace velmora {

// The result of a finished test: its grade and the slot of the grade table it belongs to.
struct TestOutcome {
    int grade = 0;
    int slot = 0;
    friend bool operator==(const TestOutcome&, const TestOutcome&) = default;
};

// The question answered last: its number, the position chosen, and the question's text and
// stored "ap" as the test file held them at that answer.
struct AnsweredQuestion {
    int number = 0;
    int position = 0;
    QString text;
    QString correct;
};

// The state of a test being taken and its steps. Questions are asked in file order from 1 up to
// the test file's "vsego", which is read again after every answer; each answer is scored by
// comparing the file's "ap" with the answer's digit as text. Every step reads the test file anew
// and keeps nothing of it.
class TestRun {
public:
    // The test file of a test, relative to the program folder: "\data\tests\test3.ini".
    static QString filePath(const QString& testname);
    // The error text of a test without questions.
    static QString noQuestionsMessage();
    // The grade table slot of a test name: "test1" … "test99" give 1 … 99 (kMaxGradeSlots); 0 for
    // any other name. A course's tests lie within its grade slots (its course file says so).
    static int slotOf(const QString& testname);

    // Starts `testname`: question 1, no correct answers; returns question 1. Throws the file
    // error when the test file is missing and the integer error when its "vsego" is not a number;
    // returns nothing when "vsego" is below 1. The state changes only when the test starts.
    std::optional<Question> start(const QString& testname);

    // Scores answer `position` (1 … 5) of the question on screen and moves on. Returns the next
    // question, or nothing when the test is over (then outcome() holds its result). A "vsego" that
    // is not a number throws the integer error after the answer was counted; the same question
    // stays current.
    std::optional<Question> answer(int position);

    // The grade and slot of the test as scored so far; needs a total of at least 1.
    TestOutcome outcome() const;

    // Question `number` of the running test, read from its file.
    Question question(int number) const;

    // The question answer() scored last; nothing before the first answer of a test.
    const std::optional<AnsweredQuestion>& lastAnswered() const { return lastAnswered_; }

    const QString& testname() const { return testname_; }
    int qnumber() const { return qnumber_; }
    int correct() const { return correct_; }
    int total() const { return total_; }

private:
    QString testname_;
    int qnumber_ = 0;
    int correct_ = 0;
    int total_ = 0;
    std::optional<AnsweredQuestion> lastAnswered_;
};

} // namespace velmora
