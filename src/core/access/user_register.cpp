#include "core/access/user_register.h"

#include "core/storage/integer_text.h"
#include "core/storage/scrambled_store.h"

#include <QStringList>

namespace velmora {

bool UserRegister::addStudent(const QString& name, const QString& password) {
    IniValues values{{QStringLiteral("password"), password}, {testKey(1), QStringLiteral("1")}};
    for (int test = 2; test <= kTestCount; ++test) {
        values.append({testKey(test), QStringLiteral("0")});
    }
    return writeiniNewSection(name, values, path());
}

QString UserRegister::storedPassword(const QString& name) {
    return readini(name, QStringLiteral("password"), path());
}

void UserRegister::readGrades(const QString& name, int count,
                              const std::function<void(int, quint8)>& take) {
    QStringList keys;
    for (int test = 1; test <= count; ++test) {
        keys.append(testKey(test));
    }
    const QStringList stored = readiniValues(name, keys, path());
    for (int test = 1; test <= count; ++test) {
        take(test, lowByte(toInteger(stored[test - 1])));
    }
}

void UserRegister::writeGrades(const QString& name, const Grades& grades) {
    IniValues values;
    for (int test = 1; test <= kTestCount; ++test) {
        values.append({testKey(test), QString::number(grades[test])});
    }
    writeiniValues(name, values, path());
}

void UserRegister::erase(const QString& name) {
    eraseini(name, path());
}

} // namespace velmora
