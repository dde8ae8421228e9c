#include "core/access/admin_settings.h"
#include "gui/kit/ui_font.h"
#include "gui/screens/admin_screen.h"
#include "gui/screens/sign_in_screen.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

struct Placement {
    const char* name;
    QRect geometry;
    const char* family;
    int pixels;
    bool italic;
};

void expectPlaced(const QWidget& screen, const Placement& p) {
    const auto* w = screen.findChild<QWidget*>(QString::fromUtf8(p.name));
    ASSERT_NE(w, nullptr) << p.name;
    EXPECT_EQ(w->geometry(), p.geometry) << p.name;
    // The family the design names, or its Liberation twin where it is not installed.
    EXPECT_EQ(w->font().family(), installedFamily(QString::fromUtf8(p.family))) << p.name;
    EXPECT_EQ(w->font().pixelSize(), p.pixels) << p.name;
    EXPECT_TRUE(w->font().bold()) << p.name;
    EXPECT_EQ(w->font().italic(), p.italic) << p.name;
}

QLabel* labelWithText(const QWidget& screen, const QString& text) {
    for (QLabel* l : screen.findChildren<QLabel*>()) {
        if (l->text() == text) {
            return l;
        }
    }
    return nullptr;
}

void expectFlatPictureButton(const QWidget& screen, const char* name, const QString& text) {
    const auto* b = screen.findChild<QToolButton*>(QString::fromUtf8(name));
    ASSERT_NE(b, nullptr) << name;
    EXPECT_EQ(b->text(), text);
    EXPECT_TRUE(b->autoRaise());
    EXPECT_FALSE(b->icon().isNull()) << name;
    EXPECT_FALSE(b->icon().pixmap(40, 40).isNull()) << name;
    EXPECT_EQ(b->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(b->accessibleName(), text);
}

TEST(SignInScreenLayout, ControlsStandWhereTheyBelong) {
    SignInScreen screen;
    // Labels take the size of their text when first shown.
    screen.show();
    const Placement placements[] = {
        {"Edit2", {195, 59, 342, 28}, "MS Sans Serif", 16, false},
        {"MaskEdit1", {195, 109, 342, 28}, "MS Sans Serif", 16, false},
        {"SpeedButton3", {491, 165, 286, 60}, "Times New Roman", 21, false},
        {"SpeedButton1", {203, 240, 294, 65}, "Times New Roman", 21, false},
        {"SpeedButton2", {200, 320, 297, 65}, "Times New Roman", 21, false},
    };
    for (const Placement& p : placements) {
        expectPlaced(screen, p);
    }
    expectFlatPictureButton(screen, "SpeedButton3", QStringLiteral("Әрі қарай>>"));
    expectFlatPictureButton(screen, "SpeedButton1", QStringLiteral("Жаңа қолданушы"));
    expectFlatPictureButton(screen, "SpeedButton2", QStringLiteral("Қолданушыны жою"));

    const QLabel* title = labelWithText(screen, QStringLiteral("Авторизация:"));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->pos(), QPoint(200, 16));
    EXPECT_EQ(title->font().pixelSize(), 32);
    EXPECT_EQ(title->palette().color(QPalette::WindowText), QColor(Qt::blue));
    const QLabel* hint =
        labelWithText(screen, QStringLiteral("\nЕгер сіз тіркелген болсаңыз, басыңыз:"));
    ASSERT_NE(hint, nullptr);
    EXPECT_EQ(hint->pos(), QPoint(24, 176));
    EXPECT_EQ(hint->height(), 46);
    EXPECT_GE(hint->width(), 402);
    EXPECT_GE(hint->width(), hint->sizeHint().width()); // the whole text is seen
    EXPECT_TRUE(hint->font().italic());
    const QLabel* nameLabel = labelWithText(screen, QStringLiteral("Қолданушы"));
    ASSERT_NE(nameLabel, nullptr);
    EXPECT_EQ(nameLabel->pos(), QPoint(27, 63));
    EXPECT_EQ(nameLabel->font().family(), QStringLiteral("Georgia"));
}

TEST(SignInScreenLayout, BoxesAreNamedByTheirLabelsAndThePasswordShowsStars) {
    const SignInScreen screen;
    EXPECT_EQ(screen.nameBox()->accessibleName(), QStringLiteral("Қолданушы"));
    EXPECT_EQ(screen.passwordBox()->accessibleName(), QStringLiteral("Пароль:"));
    EXPECT_TRUE(screen.nameBox()->text().isEmpty());
    EXPECT_TRUE(screen.passwordBox()->text().isEmpty());
    screen.passwordBox()->setText(QStringLiteral("құпия"));
    EXPECT_EQ(screen.passwordBox()->displayText(), QStringLiteral("*****"));
    screen.nameBox()->setText(QStringLiteral("Ivan"));
    EXPECT_EQ(screen.nameBox()->displayText(), QStringLiteral("Ivan"));
}

TEST(SignInScreenKeys, TabGoesFromNameToPasswordAndEnterSignsIn) {
    SignInScreen screen;
    screen.show();
    QApplication::setActiveWindow(&screen);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&screen));
    screen.nameBox()->setFocus();
    QTest::keyClick(screen.nameBox(), Qt::Key_Tab);
    EXPECT_TRUE(screen.passwordBox()->hasFocus());
    QTest::keyClick(screen.passwordBox(), Qt::Key_Tab);
    EXPECT_TRUE(screen.nameBox()->hasFocus()); // the buttons take no focus

    QSignalSpy signIn(screen.signInButton(), &QToolButton::clicked);
    QSignalSpy registerClicks(screen.registerButton(), &QToolButton::clicked);
    QTest::keyClick(screen.nameBox(), Qt::Key_Return);
    QTest::keyClick(screen.passwordBox(), Qt::Key_Enter);
    EXPECT_EQ(signIn.count(), 2);
    EXPECT_EQ(registerClicks.count(), 0);
}

TEST(AdminScreenLayout, ControlsStandWhereTheyBelongWithTheirDesignTexts) {
    AdminScreen screen;
    // The picture is drawn when the screen is first shown.
    screen.show();
    const Placement placements[] = {
        {"Edit3", {16, 50, 345, 28}, "MS Sans Serif", 16, false},
        {"Edit4", {16, 116, 345, 28}, "MS Sans Serif", 16, false},
        {"Edit5", {16, 180, 345, 28}, "MS Sans Serif", 16, false},
        {"Edit6", {16, 246, 345, 28}, "MS Sans Serif", 16, false},
        {"SpeedButton7", {19, 292, 174, 61}, "MS Sans Serif", 19, false},
        {"SpeedButton6", {203, 290, 174, 63}, "MS Sans Serif", 19, false},
    };
    for (const Placement& p : placements) {
        expectPlaced(screen, p);
    }
    expectFlatPictureButton(screen, "SpeedButton7", QStringLiteral("Применить"));
    expectFlatPictureButton(screen, "SpeedButton6", QStringLiteral("Назад"));
    EXPECT_EQ(screen.loginBox()->text(), QStringLiteral("Edit3"));
    EXPECT_EQ(screen.passwordBox()->text(), QStringLiteral("Edit4"));
    EXPECT_EQ(screen.passwordAgainBox()->text(), QStringLiteral("Edit5"));
    EXPECT_EQ(screen.reportFileBox()->text(), QStringLiteral("Edit6"));
    EXPECT_EQ(screen.passwordBox()->displayText(), QStringLiteral("*****"));
    EXPECT_EQ(screen.reportFileBox()->accessibleName(), QStringLiteral("Укажите имя файл отчета"));
    EXPECT_EQ(screen.passwordAgainBox()->accessibleName(),
              QStringLiteral("Введите пароль еще раз:"));

    const QLabel* title = labelWithText(screen, QStringLiteral("Velmora"));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->pos(), QPoint(48, 480));
    EXPECT_EQ(title->font().pixelSize(), 37);
    const auto* picture = screen.findChild<QLabel*>(QStringLiteral("adminPicture"));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->geometry(), QRect(448, 32, 433, 321));
    EXPECT_FALSE(picture->pixmap().isNull());
}

TEST(AdminScreenLayout, ShowsTheSettingsWithThePasswordTwice) {
    AdminScreen screen;
    screen.showSettings({QStringLiteral("boss"), QStringLiteral("pw"), QStringLiteral("log.txt")});
    EXPECT_EQ(screen.loginBox()->text(), QStringLiteral("boss"));
    EXPECT_EQ(screen.passwordBox()->text(), QStringLiteral("pw"));
    EXPECT_EQ(screen.passwordAgainBox()->text(), QStringLiteral("pw"));
    EXPECT_EQ(screen.reportFileBox()->text(), QStringLiteral("log.txt"));

    screen.show();
    QApplication::setActiveWindow(&screen);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&screen));
    screen.loginBox()->setFocus();
    for (QLineEdit* next :
         {screen.passwordBox(), screen.passwordAgainBox(), screen.reportFileBox()}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next);
    }
}

} // namespace
