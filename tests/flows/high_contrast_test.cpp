// SPDX-License-Identifier: GPL-3.0-or-later
// The high-contrast look: every text of every screen and window stands out from its ground by at
// least 7:1, the menu command switches it, and each user gets the look they chose back.

#include "core/program/course_state.h"
#include "gui/kit/high_contrast.h"
#include "gui/windows/title_page.h"
#include "support/contrast_check.h"
#include "support/course_driver.h"
#include "support/every_state.h"
#include "support/recording_document_view.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <gtest/gtest.h>

namespace velmora::test {
namespace {

constexpr double enhancedContrast = 7.0; // WCAG's level AAA for text

// The look for one test, switched off again however the test ends.
class HighContrastLook : public ::testing::Test {
protected:
    ~HighContrastLook() override { HighContrast::instance().setOn(false); }
};

void expectContrast(const QWidget& root, const char* where) {
    const QStringList low = lowContrastTexts(root, enhancedContrast);
    EXPECT_TRUE(low.isEmpty()) << where << ": below 7:1:\n  "
                               << low.join(QStringLiteral("\n  ")).toStdString();
}

TEST_F(HighContrastLook, EveryTextOfEveryScreenInEveryStateStandsOutSevenToOne) {
    HighContrast::instance().setOn(true);
    CourseDriver course;
    walkEveryState(course, expectContrast);
}

TEST_F(HighContrastLook, EveryTextOfTheOtherWindowsToo) {
    HighContrast::instance().setOn(true);
    walkOtherWindows(expectContrast);
}

// The check is not blind: in the usual look it finds the title page's green name on teal, and the
// look puts the window's own colours back when it is switched off.
TEST_F(HighContrastLook, TheUsualLookIsWhatItWasAndTheCheckSeesItsLowContrast) {
    TitlePage title(nullptr);
    title.show();
    const QString ownSheet = findIn<QLabel>(title, "Label4")->styleSheet();
    const QColor ownGround = title.palette().color(QPalette::Window);
    EXPECT_FALSE(lowContrastTexts(title, enhancedContrast).isEmpty());
    HighContrast::instance().setOn(true);
    EXPECT_TRUE(lowContrastTexts(title, enhancedContrast).isEmpty());
    EXPECT_EQ(title.palette().color(QPalette::Window), QColor(Qt::black));
    HighContrast::instance().setOn(false);
    EXPECT_EQ(findIn<QLabel>(title, "Label4")->styleSheet(), ownSheet);
    EXPECT_EQ(title.palette().color(QPalette::Window), ownGround);
}

TEST_F(HighContrastLook, TheHelpMenuSwitchesItAndEachStudentGetsTheirChoiceBack) {
    CourseDriver course;
    course.storeStudent(QStringLiteral("Айгүл"), QStringLiteral("pw"),
                        {5, 4, 3, 2, 1, 0, 0, 0, 0, 0});
    course.storeStudent(QStringLiteral("Ivan"), QStringLiteral("pw"),
                        {5, 4, 3, 2, 1, 0, 0, 0, 0, 0});
    MainWindow& window = course.start();
    QAction* command = course.item("NContrast");
    EXPECT_EQ(command->text(), QStringLiteral("Жоғары контраст"));
    EXPECT_EQ(command->parent()->objectName(), QStringLiteral("N21")); // "Көмек"
    ASSERT_TRUE(command->isCheckable());
    EXPECT_FALSE(command->isChecked());

    course.signIn(QStringLiteral("Айгүл"), QStringLiteral("pw"));
    command->trigger();
    EXPECT_TRUE(command->isChecked());
    EXPECT_TRUE(HighContrast::instance().isOn());
    EXPECT_EQ(window.palette().color(QPalette::Window), QColor(Qt::black));
    EXPECT_TRUE(course.documentView().highContrast) << "the page follows the look";

    course.choose("NaFormuAvtorizazii");
    course.signIn(QStringLiteral("Ivan"), QStringLiteral("pw"));
    EXPECT_TRUE(command->isChecked()) << "Ivan never chose: the look stays";
    command->trigger();
    EXPECT_FALSE(HighContrast::instance().isOn());
    EXPECT_FALSE(course.documentView().highContrast);

    course.restart();
    EXPECT_FALSE(course.item("NContrast")->isChecked());
    course.signIn(QStringLiteral("Айгүл"), QStringLiteral("pw"));
    EXPECT_TRUE(course.item("NContrast")->isChecked());
    EXPECT_TRUE(HighContrast::instance().isOn());
    EXPECT_TRUE(course.documentView().highContrast);
}

} // namespace
} // namespace velmora::test
