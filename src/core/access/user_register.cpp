// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/access/user_register.h"

#include "core/course/course_book.h"
#include "core/storage/failure.h"
#include "core/storage/integer_text.h"
#include "core/storage/scrambled_store.h"

#include <algorithm>

namespace velmora {

std::optional<quint8> StoredGrades::grade(int test) const {
    if (const std::optional<int> value = integerValue(texts_[test - 1])) {
        return lowByte(*value);
    }
    return std::nullopt;
}

void StoredGrades::takeInOrder(const std::function<void(int, quint8)>& take) const {
    for (int test = 1; test <= count(); ++test) {
        const std::optional<quint8> value = grade(test);
        if (!value) {
            throw failures::invalidInteger(texts_[test - 1]);
        }
        take(test, *value);
    }
}

QStringList UserRegister::gradeKeys(int count) {
    QStringList keys;
    for (int test = 1; test <= count; ++test) {
        keys.append(testKey(test));
    }
    return keys;
}

std::optional<QDateTime> UserRegister::registeredMoment(const QString& text) {
    const QDateTime moment = QDateTime::fromString(text, Qt::ISODate);
    if (!moment.isValid()) {
        return std::nullopt;
    }
    return moment;
}

bool UserRegister::addStudent(const QString& name, const QString& password,
                              const QDateTime& registered) {
    return addStudent(name, password, registered, CourseBook::current().gradeSlots);
}

bool UserRegister::addStudent(const QString& name, const QString& password,
                              const QDateTime& registered, int gradeSlots) {
    IniValues values{{QStringLiteral("password"), password}, {testKey(1), QStringLiteral("1")}};
    for (int test = 2; test <= std::min(gradeSlots, kMaxGradeSlots); ++test) {
        values.append({testKey(test), QStringLiteral("0")});
    }
    // Last, so that the section begins as registers without it do.
    values.append({registeredKey(),
                   registered.toLocalTime().toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss"))});
    return writeiniNewSection(name, values, path());
}

std::optional<QString> UserRegister::storedPassword(const QString& name) {
    return readiniStored(name, QStringLiteral("password"), path());
}

StoredGrades UserRegister::readGrades(const QString& name) {
    return readGrades(name, CourseBook::current().gradeSlots);
}

StoredGrades UserRegister::readGrades(const QString& name, int count) {
    IniSectionValues read = readiniSection(name, gradeKeys(count), path());
    return {std::move(read.values), read.sectionHoldsKeys};
}

QList<RegisteredUser> UserRegister::readAll(int count) {
    const QStringList keys =
        QStringList{QStringLiteral("password"), registeredKey()} + gradeKeys(count);
    QList<RegisteredUser> users;
    for (IniSectionRead& section : readiniSections(keys, path())) {
        RegisteredUser user;
        user.name = std::move(section.name);
        user.student = section.values[0].has_value();
        if (const std::optional<QString>& moment = section.values[1]) {
            user.registered = registeredMoment(*moment);
        }
        QStringList grades;
        bool found = user.student || section.values[1].has_value();
        for (qsizetype i = 2; i < section.values.size(); ++i) {
            found = found || section.values[i].has_value();
            grades.append(section.values[i].value_or(missingValue()));
        }
        user.grades = StoredGrades(std::move(grades), found);
        users.append(std::move(user));
    }
    return users;
}

void UserRegister::writeGrades(const QString& name, const Grades& grades) {
    writeGrades(name, grades, CourseBook::current().gradeSlots);
}

void UserRegister::writeGrades(const QString& name, const Grades& grades, int gradeSlots) {
    IniValues values;
    for (int test = 1; test <= std::min(gradeSlots, kMaxGradeSlots); ++test) {
        values.append({testKey(test), QString::number(grades[test])});
    }
    writeiniValues(name, values, path());
}

void UserRegister::writeGrade(const QString& name, int test, int grade) {
    writeini(name, testKey(test), QString::number(grade), path());
}

void UserRegister::writeGradeOfEach(int test, const QList<std::pair<QString, int>>& grades) {
    QList<std::pair<QString, IniValues>> sections;
    for (const auto& [name, grade] : grades) {
        sections.append({name, IniValues{{testKey(test), QString::number(grade)}}});
    }
    writeiniSections(sections, path());
}

void UserRegister::erase(const QString& name) {
    eraseini(name, path());
}

} // namespace velmora
