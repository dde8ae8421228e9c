// SPDX-License-Identifier: GPL-3.0-or-later
// Every text of every screen and window is whole on the screen: each visible control's text fits
// it or wraps within its height. The main window is walked through the states a student and the
// teacher meet; the other windows and the message boxes are looked at as they open.

#include "core/access/access_texts.h"
#include "core/exam/question_bank.h"
#include "gui/kit/message_boxes.h"
#include "support/course_driver.h"
#include "support/every_state.h"
#include "support/widget_tree.h"

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

using namespace texts;

void expectAllFit(const QWidget& root, const char* where) {
    const QStringList misfits = textsThatDoNotFit(&root);
    EXPECT_TRUE(misfits.isEmpty())
        << where << ":\n  " << misfits.join(QStringLiteral("\n  ")).toStdString();
}

TEST(TextsFit, OnEveryScreenOfTheMainWindowInEveryState) {
    CourseDriver course;
    walkEveryState(course, expectAllFit);
}

TEST(TextsFit, InTheOtherWindowsAndTheMessageBoxes) {
    walkOtherWindows(expectAllFit);
    const QString texts[] = {
        wrongNameOrPassword(),
        invalidUserName(),
        invalidPassword(),
        nameTaken(),
        registered(),
        checkPassword(),
        invalidAdminSettings(),
        QStringLiteral("Cannot open file \"/home/student/.local/share/velmora/course/data/"
                       "tests/test10.ini\". No such file or directory"),
        QuestionBank::nothingImported(
            QStringLiteral("/home/teacher/Документы/Банки вопросов/Сети и протоколы.gift")),
    };
    for (const QString& text : texts) {
        const auto box = MessageBoxes::makeBox(nullptr, MessageBoxes::Kind::Warning,
                                               QStringLiteral("Warning"), text, true);
        box->show();
        expectAllFit(*box, text.toUtf8().constData());
    }
}

} // namespace
} // namespace velmora::test
