// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/access/user_register.h"

#include "core/storage/failure.h"
#include "core/storage/integer_text.h"
#include "core/storage/scrambled_store.h"

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

std::optional<QDateTime> UserRegister::registeredMoment(const QString& text) {
    const QDateTime moment = QDateTime::fromString(text, Qt::ISODate);
    if (!moment.isValid()) {
        return std::nullopt;
    }
    return moment;
}

bool UserRegister::addStudent(const QString& name, const QString& password,
                              const QDateTime& registered) {
    IniValues values{{QStringLiteral("password"), password}, {testKey(1), QStringLiteral("1")}};
    for (int test = 2; test <= kTestSlots; ++test) {
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

StoredGrades UserRegister::readGrades(const QString& name, int count) {
    QStringList keys;
    for (int test = 1; test <= count; ++test) {
        keys.append(testKey(test));
    }
    IniSectionValues read = readiniSection(name, keys, path());
    return {std::move(read.values), read.sectionHoldsKeys};
}

void UserRegister::writeGrades(const QString& name, const Grades& grades) {
    IniValues values;
    for (int test = 1; test <= kTestSlots; ++test) {
        values.append({testKey(test), QString::number(grades[test])});
    }
    writeiniValues(name, values, path());
}

void UserRegister::writeGrade(const QString& name, int test, int grade) {
    writeini(name, testKey(test), QString::number(grade), path());
}

void UserRegister::erase(const QString& name) {
    eraseini(name, path());
}

} // namespace velmora
