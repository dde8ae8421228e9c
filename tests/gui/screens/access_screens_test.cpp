// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/access/admin_settings.h"
#include "gui/screens/admin_screen.h"
#include "gui/screens/sign_in_screen.h"
#include "support/widget_tree.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::dumpWidgetTree;
using velmora::test::expectMatchesGolden;

namespace {

// Each screen as it stands inside its panel: the main window's client area less the bevels.
constexpr QSize kScreenSize(930, 742);

TEST(SignInScreenLayout, MatchesTheReviewedDump) {
    SignInScreen screen;
    screen.resize(kScreenSize);
    // Labels take the size of their text when first shown.
    screen.show();
    expectMatchesGolden(QStringLiteral("sign_in_screen"), dumpWidgetTree(&screen));
}

TEST(SignInScreenLayout, TheHintShowsItsWholeText) {
    SignInScreen screen;
    screen.show();
    const QLabel* hint = nullptr;
    for (const QLabel* l : screen.findChildren<QLabel*>()) {
        if (l->text().contains(QStringLiteral("тіркелген"))) {
            hint = l;
        }
    }
    ASSERT_NE(hint, nullptr);
    // 402 pixels wide in the design; wider where the substitute font runs wider.
    EXPECT_GE(hint->width(), hint->sizeHint().width());
}

TEST(SignInScreenLayout, ThePasswordShowsStars) {
    const SignInScreen screen;
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
    // Then the buttons, in the order they read, and round to the name again.
    QTest::keyClick(screen.passwordBox(), Qt::Key_Tab);
    EXPECT_TRUE(screen.signInButton()->hasFocus());
    QTest::keyClick(screen.signInButton(), Qt::Key_Tab);
    EXPECT_TRUE(screen.registerButton()->hasFocus());
    QTest::keyClick(screen.registerButton(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(screen.nameBox()->hasFocus());
    screen.nameBox()->setFocus();

    QSignalSpy signIn(screen.signInButton(), &QToolButton::clicked);
    QSignalSpy registerClicks(screen.registerButton(), &QToolButton::clicked);
    QTest::keyClick(screen.nameBox(), Qt::Key_Return);
    QTest::keyClick(screen.passwordBox(), Qt::Key_Enter);
    EXPECT_EQ(signIn.count(), 2);
    EXPECT_EQ(registerClicks.count(), 0);
}

TEST(AdminScreenLayout, MatchesTheReviewedDump) {
    AdminScreen screen;
    screen.resize(kScreenSize);
    // The picture is drawn when the screen is first shown.
    screen.show();
    expectMatchesGolden(QStringLiteral("admin_screen"), dumpWidgetTree(&screen));
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
