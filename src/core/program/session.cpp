// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/program/session.h"

#include "core/exam/grade_bands.h"

#include <algorithm>

namespace velmora {

int Session::slots() const {
    return std::clamp(gradeSlots, 0, static_cast<int>(grades.size()) - 1);
}

void Session::signIn(const QString& name) {
    userName = name;
    signedIn = true;
}

std::span<const quint8> Session::testGrades() const {
    return std::span<const quint8>(grades).subspan(1, static_cast<size_t>(slots()));
}

void Session::recordGrade(const TestOutcome& outcome) {
    if (outcome.slot >= 1 && outcome.slot <= slots()) {
        grades[static_cast<size_t>(outcome.slot)] = static_cast<quint8>(outcome.grade);
    }
}

void Session::setGrade(int test, quint8 grade) {
    if (test >= 1 && test <= slots()) {
        grades[static_cast<size_t>(test)] = grade;
    }
}

QStringList Session::passedTests() const {
    QStringList keys;
    for (int test = 1; test <= slots(); ++test) {
        if (GradeBands::passed(grades[static_cast<size_t>(test)])) {
            keys.append(UserRegister::testKey(test));
        }
    }
    return keys;
}

} // namespace velmora
