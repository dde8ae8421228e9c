// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the course on the document screen: find in the page, zoom, print, and links that lead
// past the unlock chain.

#include "core/storage/data_path.h"
#include "gui/documents/document_screen.h"
#include "gui/documents/find_bar.h"
#include "gui/kit/print_dialogs.h"
#include "support/course_driver.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace velmora::test {
namespace {

class Reading : public ::testing::Test {
protected:
    Reading() {
        for (const char* page : {"data/info/lig-1.html", "data/info/lig-2.html",
                                 "data/info/lig-5.html", "data/info/other.html"}) {
            course.folder().write(QString::fromLatin1(page), "<html><body>page</body></html>");
        }
        course.storeStudent(QStringLiteral("Айгүл"), QStringLiteral("pw"),
                            {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
        window = &course.start();
        course.signIn(QStringLiteral("Айгүл"), QStringLiteral("pw"));
        EXPECT_EQ(course.boxTexts(), QStringList());
        course.choose("n1");
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window));
        screen()->view()->widget()->setFocus();
    }

    DocumentScreen* screen() const { return findIn<DocumentScreen>(*window, "documentScreen"); }
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const {
        QTest::keySequence(QApplication::focusWidget(),
                           QKeySequence(QKeyCombination(modifiers, static_cast<Qt::Key>(key))));
    }
    // Types into the find box as a keyboard of any layout does.
    void type(const QString& text) const {
        for (const QChar c : text) {
            QTest::sendKeyEvent(QTest::Click, screen()->findBar()->box(), Qt::Key_unknown,
                                QString(c), Qt::NoModifier);
        }
    }
    QString count() const { return screen()->findBar()->count()->text(); }
    QString page(const char* name) const { return programFolderPath(QString::fromLatin1(name)); }

    CourseDriver course;
    MainWindow* window = nullptr;
};

TEST_F(Reading, FindInThePageCountsLetterCaseIgnoredAndWrapsAround) {
    course.documentView().pageText = QStringLiteral("Ақпарат, ақпараттық жүйе; АҚПАРАТ.");
    press(Qt::Key_F, Qt::ControlModifier);
    ASSERT_NE(screen()->findBar(), nullptr);
    EXPECT_TRUE(screen()->findBar()->isVisible());
    type(QStringLiteral("ақпарат"));
    EXPECT_EQ(count(), QStringLiteral("1 из 3"));
    press(Qt::Key_Return);
    press(Qt::Key_F3);
    EXPECT_EQ(count(), QStringLiteral("3 из 3"));
    press(Qt::Key_Return);
    EXPECT_EQ(count(), QStringLiteral("1 из 3"));
    press(Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(count(), QStringLiteral("3 из 3"));
    type(QStringLiteral("x"));
    EXPECT_EQ(count(), QStringLiteral("0 из 0"));
    EXPECT_FALSE(screen()->findBar()->box()->styleSheet().isEmpty()); // light red
    // The bar stays open across documents and searches the new one.
    course.documentView().pageText = QStringLiteral("ақпаратx");
    course.choose("n1");
    EXPECT_EQ(count(), QStringLiteral("1 из 1"));
    press(Qt::Key_Escape);
    EXPECT_FALSE(screen()->findBar()->isVisible());
    EXPECT_EQ(course.documentView().highlighted, QString());
    // Choosing another screen closes it too.
    press(Qt::Key_F, Qt::ControlModifier);
    course.choose("Ni");
    EXPECT_FALSE(screen()->findBar()->isVisible());
}

TEST_F(Reading, ZoomKeysStepTheSizeWithinLimitsAndKeepItAcrossDocuments) {
    press(Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(course.documentView().zoomFactor, 1.1);
    press(Qt::Key_Minus, Qt::ControlModifier);
    press(Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(course.documentView().zoomFactor, 0.9);
    course.choose("n1");
    EXPECT_DOUBLE_EQ(course.documentView().zoomFactor, 0.9);
    for (int i = 0; i < 20; ++i) {
        press(Qt::Key_Plus, Qt::ControlModifier);
    }
    EXPECT_DOUBLE_EQ(screen()->zoomFactor(), 3.0);
    for (int i = 0; i < 20; ++i) {
        press(Qt::Key_Minus, Qt::ControlModifier);
    }
    EXPECT_DOUBLE_EQ(screen()->zoomFactor(), 0.5);
    press(Qt::Key_0, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(course.documentView().zoomFactor, 1.0);
}

TEST_F(Reading, CtrlPPrintsWhereTheDialogSaysAndCancelPrintsNothing) {
    PrintDialogs::setHeadless(true);
    PrintDialogs::setNextAnswer(std::nullopt);
    press(Qt::Key_P, Qt::ControlModifier);
    EXPECT_TRUE(course.documentView().printedTo.isEmpty());
    PrintDialogs::setNextAnswer(
        QDir(course.folder().path()).filePath(QStringLiteral("lecture.pdf")));
    press(Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(course.documentView().printedTo,
              QStringList{QDir(course.folder().path()).filePath(QStringLiteral("lecture.pdf"))});
    PrintDialogs::setHeadless(false);
}

// A new student has lecture 1 open and lecture 2 locked: a link in the page to lecture 2 is not
// followed and says why; links to open lectures and to pages no menu opens are followed.
TEST_F(Reading, ALinkToALockedLectureIsRefusedWithABox) {
    RecordingDocumentView& view = course.documentView();
    course.forgetBoxes();
    EXPECT_FALSE(view.followLink(page("\\data\\info\\lig-2.html")));
    QCoreApplication::processEvents();
    EXPECT_EQ(course.boxTexts(),
              QStringList{QStringLiteral(
                  "Information: Этот материал пока закрыт: сначала сдайте предыдущий тест.")});
    EXPECT_TRUE(view.followLink(page("\\data\\info\\lig-1.html")));
    EXPECT_TRUE(view.followLink(page("\\data\\info\\other.html")));
    // Once test 1 is passed, lecture 2 opens.
    course.passTest(1);
    EXPECT_TRUE(view.followLink(page("\\data\\info\\lig-2.html")));
    EXPECT_FALSE(view.followLink(page("\\data\\info\\lig-5.html")));
}

} // namespace
} // namespace velmora::test
