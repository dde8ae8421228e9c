// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/screens/sign_in_screen.h"

#include "gui/kit/first_show.h"
#include "gui/kit/screen_parts.h"
#include "gui/kit/ui_font.h"

#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <algorithm>

namespace velmora {

using namespace screen_parts;

SignInScreen::SignInScreen(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("signInScreen"));
    const QString times = QStringLiteral("Times New Roman");
    const QString georgia = QStringLiteral("Georgia");
    const QFont labelFont = pixelFont(georgia, 19, true, true);
    const QFont boxFont = pixelFont(QStringLiteral("MS Sans Serif"), 16, true);
    const QFont buttonFont = pixelFont(times, 21, true);

    label(this, QStringLiteral("Авторизация:"), {200, 16}, pixelFont(times, 32, true), Qt::blue);
    QLabel* nameLabel = label(this, QStringLiteral("Қолданушы"), {27, 63}, labelFont);
    nameBox_ = textBox(this, QStringLiteral("Edit2"), {195, 59, 342, 28}, boxFont, nameLabel);
    QLabel* passwordLabel = label(this, QStringLiteral("Пароль:"), {27, 107}, labelFont);
    passwordBox_ = textBox(this, QStringLiteral("MaskEdit1"), {195, 109, 342, 28}, boxFont,
                           passwordLabel, Echo::Password);

    QLabel* hint = label(this, QStringLiteral("\nЕгер сіз тіркелген болсаңыз, басыңыз:"), {24, 176},
                         labelFont);
    hint->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // 402 × 46 pixels, or larger where the machine's substitute for the font runs wider or its
    // lines higher.
    onFirstShow(hint, [hint] {
        const QSize wanted = hint->sizeHint();
        hint->resize(std::max(402, wanted.width()), std::max(46, wanted.height()));
    });

    signIn_ = flatButton(this, QStringLiteral("SpeedButton3"), QStringLiteral("Әрі қарай>>"),
                         {491, 165, 286, 60}, buttonFont, QStringLiteral("sign_in.svg"));
    register_ = flatButton(this, QStringLiteral("SpeedButton1"), QStringLiteral("Жаңа қолданушы"),
                           {203, 240, 294, 65}, buttonFont, QStringLiteral("new_user.svg"));
    delete_ = flatButton(this, QStringLiteral("SpeedButton2"), QStringLiteral("Қолданушыны жою"),
                         {200, 320, 297, 65}, buttonFont, QStringLiteral("delete_user.svg"));

    setTabOrder(nameBox_, passwordBox_);
    for (QLineEdit* box : {nameBox_, passwordBox_}) {
        connect(box, &QLineEdit::returnPressed, signIn_, &QToolButton::click);
    }
}

} // namespace velmora
