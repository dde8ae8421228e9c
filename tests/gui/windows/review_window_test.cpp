// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/kit/print_dialogs.h"
#include "gui/windows/review_window.h"
#include "support/course_driver.h"
#include "support/temp_folder.h"

#include <QFileInfo>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;
using namespace Qt::StringLiterals;

namespace {

// A long review scrolls, and Ctrl+P prints it to the PDF file the print dialog names.
TEST(ReviewWindow, ScrollsAndPrintsWithCtrlP) {
    const TempFolder folder;
    ReviewWindow window;
    QString review = u"Тест №1: верных ответов 1 из 40\n"_s;
    for (int k = 1; k <= 40; ++k) {
        review +=
            u"\n%1. Вопрос %1\n   Ваш ответ: A) %1.1 — неверно\n   Верный ответ: B) %1.2\n"_s.arg(
                k);
    }
    window.showReview(review);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const auto* text = findIn<QPlainTextEdit>(window, "reviewText");
    EXPECT_EQ(text->toPlainText(), review);
    EXPECT_TRUE(text->isReadOnly());
    EXPECT_GT(text->verticalScrollBar()->maximum(), 0);

    PrintDialogs::setHeadless(true);
    const QString pdf = folder.file(u"review.pdf"_s);
    PrintDialogs::setNextAnswer(pdf);
    const int asked = PrintDialogs::asked();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(PrintDialogs::asked(), asked + 1);
    EXPECT_GT(QFileInfo(pdf).size(), 0);
    PrintDialogs::setHeadless(false);
}

} // namespace
