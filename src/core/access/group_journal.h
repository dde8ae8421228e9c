// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/access/user_register.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <array>
#include <optional>

namespace velmora {

struct CourseBook;

// What the test log says about one student and one test.
struct JournalAttempts {
    int count = 0;
    QString last;      // "03.02.2025 14:05:09" of the last line
    int lastGrade = 0; // the grade of the last line
};

// One row of the group journal.
struct JournalStudent {
    QString name;
    bool listed = true; // false: a section of users.ini that the list "users" lacks
    // The stored grade of tests 1 … the course's grade slots when it is a number 0 … 5.
    std::array<std::optional<int>, kMaxGradeSlots + 1> stored{};
    std::array<JournalAttempts, kMaxGradeSlots + 1> attempts{};

    bool taken(int test) const { return attempts[static_cast<size_t>(test)].count > 0; }
    // The grade shown for a taken test: the stored one, or the log's last when the register's
    // value is not a grade 1 … 5; nothing for a test not taken.
    std::optional<int> grade(int test) const;
    // The mean of the grades of the taken tests among `tests`.
    std::optional<double> mean(const QList<int>& tests) const;
};

// One test's column summed up.
struct JournalTestSummary {
    int taken = 0;
    double mean = 0;
    double passedShare = 0;      // 0 … 1
    std::array<int, 6> counts{}; // students per grade 1 … 5 (element 0 unused)
};

// Attempts whose first answer the answer log holds, per folded student name and test.
using StartedAttempts = QHash<std::pair<QByteArray, int>, int>;
// The moment of registration (a log moment, see logMoment) per folded student name, for the
// students whose register section keeps it.
using RegistrationMoments = QHash<QByteArray, qint64>;

// The teacher's view of a group: every registered student with the grades of every test that has
// a test file, and the attempts the test log records. It is read from the user list, the user
// register, the test log, the answer log and (for the administrator's login) the administrator
// settings, each file once, and writes nothing. Where the register keeps a student's moment of
// registration, only log lines from that moment on are the student's: earlier ones belong to an
// earlier student of the same name.
class GroupJournal {
public:
    // Reads the files of the current directory; `reportfile` is the test log setting. A missing or
    // damaged log is no failure: what cannot be used is counted in the notes.
    static GroupJournal read(const QString& reportfile);
    // read, for the tests, pass grade and grade slots of `course`.
    static GroupJournal read(const QString& reportfile, const CourseBook& course);

    // The course's test numbers whose file exists in data\tests, ascending.
    const QList<int>& tests() const { return tests_; }
    const QList<JournalStudent>& students() const { return students_; }
    JournalTestSummary summary(int test) const;

    // Test log lines that could not be used: a wrong number of fields, an unknown test, a grade
    // that is not 0 … 5, a time or date that is unreadable or does not exist, a name that is
    // neither a student's nor the administrator's (a student deleted since).
    int skippedLogLines() const { return skippedLogLines_; }
    // Finished tests of the test log without the answer lines of their first question.
    int testsWithoutAnswers() const { return testsWithoutAnswers_; }
    // Why the test log could not be read, or empty.
    const QString& logProblem() const { return logProblem_; }
    // The notes for the window and the command line, one per line; empty when all is well.
    QStringList notes() const;

private:
    void readAdministrator();
    void readRegister(int gradeSlots);
    void readTestLog(const QString& path);
    void countUnansweredTests(const StartedAttempts& started);

    QList<int> tests_;
    int passGrade_ = 0;
    QList<JournalStudent> students_;
    QHash<QByteArray, int> rows_; // folded name bytes to row
    RegistrationMoments registered_;
    QByteArray administrator_; // the folded login; empty when the settings cannot be read
    int skippedLogLines_ = 0;
    int testsWithoutAnswers_ = 0;
    QString logProblem_;
};

} // namespace velmora
