#pragma once

#include <QString>
#include <QtGlobal>
#include <array>
#include <functional>

namespace velmora {

// Grades of tests 1 to 12, indexed by test number (element 0 unused): 0 = not taken, 1 to 5 the
// grade of the last attempt, 3 or more passed.
using Grades = std::array<quint8, 13>;

inline constexpr int kTestCount = 12;
inline constexpr quint8 kPassingGrade = 3;

// The user register "\users.ini": one section per student with the keys "password" and "test1"
// to "test12", every value kept through the scrambled store. Sections are found whatever the
// letter case of the name.
class UserRegister {
public:
    static QString path() { return QStringLiteral("\\users.ini"); }
    // "test" followed by the decimal test number.
    static QString testKey(int test) { return QStringLiteral("test") + QString::number(test); }

    // Creates the student's section in one write: the password, "test1" = "1" and "test2" to
    // "test12" = "0". False, with nothing written, when the name is registered already.
    [[nodiscard]] static bool addStudent(const QString& name, const QString& password);
    // The stored password; a missing one reads as the store's missing value.
    static QString storedPassword(const QString& name);
    // Reads grades 1 to `count` in order and hands each, low byte of the stored number, to
    // `take`. A grade that is not a number throws "'%s' is not a valid integer value" after the
    // earlier grades were handed over.
    static void readGrades(const QString& name, int count,
                           const std::function<void(int test, quint8 grade)>& take);
    // Writes grades 1 to 12 in one write, creating the section when missing.
    static void writeGrades(const QString& name, const Grades& grades);
    static void erase(const QString& name);
};

} // namespace velmora
