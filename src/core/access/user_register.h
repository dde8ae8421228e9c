// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Deprecated: kept for sign_in.* and session.*, which still use its counts.
#include "core/exam/test_shape.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <array>
#include <functional>
#include <optional>

namespace velmora {

// Grades of tests 1 to the course's grade slots, indexed by test number (element 0 and the slots
// beyond the course unused): 0 = not taken, 1 to 5 the grade of the last attempt, the course's
// pass grade or more passed.
using Grades = std::array<quint8, kMaxGradeSlots + 1>;

// Grades 1 to count() of one user as the register held them at one read of the file. A stored
// grade is the decimal text of a number, of which the low eight bits count.
class StoredGrades {
public:
    StoredGrades() = default;
    StoredGrades(QStringList texts, bool found) : texts_(std::move(texts)), found_(found) {}

    // False when the register holds no key at all for the user (no section, or an empty one).
    bool found() const { return found_; }
    int count() const { return static_cast<int>(texts_.size()); }
    // The grade of test `test` (1 to count()); nothing when the stored text is not a number (a
    // missing key included).
    std::optional<quint8> grade(int test) const;
    // The stored text of test `test` (1 to count()), the missing-value marker's plain form for a
    // missing key.
    const QString& text(int test) const { return texts_[test - 1]; }
    // Hands grades 1 to count() in order to `take`. At the first that is not a number (a missing
    // key included) it throws "'%s' is not a valid integer value", quoting the stored text, after
    // the earlier grades were handed over; the later ones are not.
    void takeInOrder(const std::function<void(int test, quint8 grade)>& take) const;

private:
    QStringList texts_;
    bool found_ = false;
};

// One section of the register as read with all the others.
struct RegisteredUser {
    QString name;                        // as the section's name stands in the file
    bool student = false;                // the section keeps a password
    StoredGrades grades;                 // grades 1 to the count read
    std::optional<QDateTime> registered; // the moment of registration, when readable
};

// The user register "\users.ini": one section per user, found whatever the letter case of the
// name, with the keys "password" (students only), "test1" to "test<grade slots>" and "registered"
// (students registered since the register kept it), every value kept through the scrambled store.
// The one place that knows the file, its sections and its keys.
class UserRegister {
public:
    static QString path() { return QStringLiteral("\\users.ini"); }
    // "test" followed by the decimal test number.
    static QString testKey(int test) { return QStringLiteral("test") + QString::number(test); }
    // The moment of registration, local time to the second: "2025-02-03T14:05:09". It tells a
    // student from an earlier one of the same name whose lines the logs still hold.
    static QString registeredKey() { return QStringLiteral("registered"); }
    // The moment a stored "registered" text names; nothing for a text that names none.
    static std::optional<QDateTime> registeredMoment(const QString& text);

    // Creates the student's section in one write: the password, "test1" = "1", "test2" to
    // "test<gradeSlots>" = "0" and "registered" = `registered`, which is now but for tests that
    // replay a registration. False, with nothing written, when the name is registered already.
    // The grade slots are the course's of the program folder unless given.
    [[nodiscard]] static bool
    addStudent(const QString& name, const QString& password,
               const QDateTime& registered = QDateTime::currentDateTime());
    [[nodiscard]] static bool addStudent(const QString& name, const QString& password,
                                         const QDateTime& registered, int gradeSlots);
    // The stored password; nothing for a section without one (the administrator's grades), which
    // no typed text may open.
    static std::optional<QString> storedPassword(const QString& name);
    // Grades 1 to `count` of a user, in one read of the file. A missing file or section reads as
    // grades that are all missing.
    static StoredGrades readGrades(const QString& name, int count);
    // readGrades of the course's grade slots.
    static StoredGrades readGrades(const QString& name);
    // Every section of the register in one read, in file order, each name once (the section that
    // readGrades reads), with its grades 1 to `count`. A missing file has no user.
    static QList<RegisteredUser> readAll(int count);
    // Writes grades 1 to `gradeSlots` in one write, creating the section when missing.
    static void writeGrades(const QString& name, const Grades& grades, int gradeSlots);
    // writeGrades of the course's grade slots.
    static void writeGrades(const QString& name, const Grades& grades);
    // Writes the grade of one test as its decimal text, creating the section when missing.
    static void writeGrade(const QString& name, int test, int grade);
    // Writes the grade of test `test` of each user in one locked, atomic rewrite of the file:
    // every grade or none.
    static void writeGradeOfEach(int test, const QList<std::pair<QString, int>>& grades);
    static void erase(const QString& name);

private:
    // "test1" … "test<count>".
    static QStringList gradeKeys(int count);
};

} // namespace velmora
