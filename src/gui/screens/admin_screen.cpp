// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/screens/admin_screen.h"

#include "core/access/admin_settings.h"
#include "gui/kit/screen_parts.h"
#include "gui/kit/ui_font.h"

#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace velmora {

using namespace screen_parts;

AdminScreen::AdminScreen(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("adminScreen"));
    const QString sans = QStringLiteral("MS Sans Serif");
    const QFont font = pixelFont(sans, 16, true);
    const QFont buttonFont = pixelFont(sans, 19, true);

    const auto box = [&](const QString& name, int top, const QString& caption, QPoint at,
                         Echo echo) {
        QLineEdit* edit =
            textBox(this, name, {16, top, 345, 28}, font, label(this, caption, at, font), echo);
        edit->setText(name); // the design text, kept until the settings are read
        return edit;
    };
    login_ = box(QStringLiteral("Edit3"), 50, QStringLiteral("Введите логин администратора:"),
                 {18, 22}, Echo::Normal);
    password_ = box(QStringLiteral("Edit4"), 116, QStringLiteral("Введите пароль администратора"),
                    {18, 88}, Echo::Password);
    passwordAgain_ = box(QStringLiteral("Edit5"), 180, QStringLiteral("Введите пароль еще раз:"),
                         {14, 152}, Echo::Password);
    reportFile_ = box(QStringLiteral("Edit6"), 246, QStringLiteral("Укажите имя файл отчета"),
                      {22, 220}, Echo::Normal);

    apply_ = flatButton(this, QStringLiteral("SpeedButton7"), QStringLiteral("Применить"),
                        {19, 292, 174, 61}, buttonFont, QStringLiteral("apply.svg"));
    back_ = flatButton(this, QStringLiteral("SpeedButton6"), QStringLiteral("Назад"),
                       {203, 290, 174, 63}, buttonFont, QStringLiteral("back.svg"));
    picture(this, QStringLiteral("adminPicture"), {448, 32, 433, 321},
            QStringLiteral("admin_picture.svg"), QStringLiteral("Настройки администратора"));
    label(this, QStringLiteral("Velmora"), {48, 480},
          pixelFont(QStringLiteral("Times New Roman"), 37, true));

    setTabOrder(login_, password_);
    setTabOrder(password_, passwordAgain_);
    setTabOrder(passwordAgain_, reportFile_);
}

void AdminScreen::showSettings(const AdminSettings& settings) {
    login_->setText(settings.login);
    password_->setText(settings.password);
    passwordAgain_->setText(settings.password);
    reportFile_->setText(settings.reportFile);
}

} // namespace velmora
