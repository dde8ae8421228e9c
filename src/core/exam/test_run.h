// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/exam/attempt_plan.h"
#include "core/exam/question.h"

#include <QDateTime>
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
// Under a plan, the number is the file's section and the position the file's, whatever the screen
// showed; `asked` is the answer's place in the attempt (1, 2, …), 0 for a test without settings.
struct AnsweredQuestion {
    int number = 0;
    int position = 0;
    QString text;
    QString correct;
    int asked = 0;
    quint64 seed = 0;
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
    // Starts `testname` as its settings say. Plain settings start it as above; otherwise the
    // attempt follows the plan made from `seed`: the drawn questions in their order, each with its
    // answers in their order, and the grade counts the questions asked.
    std::optional<Question> start(const QString& testname, const TestSettings& settings,
                                  quint64 seed);
    // Goes on with an attempt of `testname` under `plan` after the answers `chosen` (file
    // positions, one per asked question, in order): the next question, or nothing when every
    // question was answered. Throws the file error when the test file is missing.
    std::optional<Question> resume(const QString& testname, const AttemptPlan& plan,
                                   const QList<int>& chosen, const QDateTime& started);
    // Ends the attempt here: every question not yet answered counts as wrong.
    void endNow();
    // An attempt of `testname` ended without its file: `asked` questions, `correct` of them right.
    void close(const QString& testname, int asked, int correct);

    // Under a plan: when the attempt began, and the fingerprint of the test file it began with.
    const QDateTime& started() const { return started_; }
    const QString& fileMark() const { return fileMark_; }

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

    // The plan the attempt follows; nothing for a test without settings.
    const std::optional<AttemptPlan>& plan() const { return plan_; }
    // The file positions chosen so far under a plan, one per answered question.
    const QList<int>& chosen() const { return chosen_; }

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
    std::optional<AttemptPlan> plan_;
    QList<int> chosen_;
    QDateTime started_;
    QString fileMark_;

    std::optional<Question> answerPlanned(int position);
    Question plannedQuestion(int asked) const;
};

} // namespace velmora
