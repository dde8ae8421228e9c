// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/access/admin_settings.h"
#include "core/access/user_register.h"
#include "core/exam/test_run.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <span>

namespace velmora {

// The program's run-time state, as one plain value: who signed in and their grades, the
// administrator settings read at start-up, and the test chosen last with its run. The main window
// holds one and changes it in its handlers; nothing in it reads or writes a file.
struct Session {
    QString userName;      // the user signed in last
    Grades grades{};       // grades of tests 1 … gradeSlots (element 0 unused)
    int gradeSlots = 12;   // the course's grade slots, "test1" … "testN"
    bool signedIn = false; // someone has signed in since start-up
    AdminSettings admin;   // as read at start-up; changed settings count from the next start
    QString testName;      // "test1" … of the test chosen last
    TestRun testRun;       // the running or last test: question on screen, correct answers, total

    // `name` has signed in: the session is theirs from now on. The grades are left as they are
    // (a student's were read while signing in).
    void signIn(const QString& name);

    // The grades of tests 1 … gradeSlots, in order.
    std::span<const quint8> testGrades() const;
    // Puts the grade of a finished test into its slot; a test outside 1 … gradeSlots keeps no
    // grade.
    void recordGrade(const TestOutcome& outcome);
    // Sets the grade of test `test` (1 … gradeSlots); any other test number changes nothing.
    void setGrade(int test, quint8 grade);
    // The test keys ("test1" …) of the tests whose grade is a pass, in test order.
    QStringList passedTests() const;

private:
    // gradeSlots, within the table.
    int slots() const;
};

} // namespace velmora
