// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The texts the users-and-access commands show in their message boxes.
namespace velmora::texts {

inline QString wrongNameOrPassword() {
    return QStringLiteral("Проверьте правильность имени и пароля!");
}
inline QString invalidUserName() {
    return QStringLiteral("Недопустимое имя пользователя!");
}
inline QString invalidPassword() {
    return QStringLiteral("Недопустимый пароль!");
}
inline QString nameTaken() {
    return QStringLiteral("Пользователь с таким именем уже зарегистрирован!");
}
inline QString registered() {
    return QStringLiteral("Пользователь зарегистрирован.Нажмите \"Далее>>\"");
}
inline QString checkPassword() {
    return QStringLiteral("Проверьте пароль!");
}
inline QString invalidAdminSettings() {
    return QStringLiteral("Недопустимые настройки администратора!");
}
inline QString invalidReportFile() {
    return QStringLiteral("Недопустимое имя файла отчета!");
}

} // namespace velmora::texts
