// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/windows/about_author_window.h"
#include "gui/windows/about_program_dialog.h"
#include "gui/windows/main_window.h"
#include "gui/windows/program_windows.h"
#include "gui/windows/title_page.h"
#include "support/course_driver.h"
#include "support/recording_document_view.h"
#include "support/temp_folder.h"
#include "support/widget_tree.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace velmora::test {
namespace {

class AboutTest : public ::testing::Test {
protected:
    void SetUp() override { windows.mainWindow().show(); }

    // Triggers a menu command that opens a modal dialog; `whileOpen` runs inside it.
    void runModal(const QString& item, const std::function<void(QWidget&)>& whileOpen) {
        QTimer::singleShot(0, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr);
            whileOpen(*modal);
            if (modal->isVisible()) {
                modal->close();
            }
        });
        findIn<QAction>(windows.mainWindow(), item)->trigger();
    }

    TempFolder folder;
    ProgramWindows windows{RecordingDocumentView::factory()};
};

TEST_F(AboutTest, AboutProgramAlwaysCaptionedOProgramme) {
    AboutProgramDialog& dialog = windows.aboutProgram();
    for (int opening = 0; opening < 2; ++opening) {
        QString caption;
        bool mainDisabled = false;
        runModal(QStringLiteral("N26"), [&](QWidget& modal) {
            caption = modal.windowTitle();
            mainDisabled =
                !windows.mainWindow().isEnabled() || QApplication::activeModalWidget() == &dialog;
        });
        EXPECT_EQ(caption, QStringLiteral("О программе"));
        EXPECT_TRUE(mainDisabled);
        EXPECT_FALSE(dialog.isVisible());
        dialog.setWindowTitle(QStringLiteral("Бағдарлама туралы"));
    }
}

TEST_F(AboutTest, EnterPressesClose) {
    bool closedByEnter = false;
    runModal(QStringLiteral("N26"), [&](QWidget& modal) {
        QTest::keyClick(&modal, Qt::Key_Return);
        closedByEnter = !modal.isVisible();
    });
    EXPECT_TRUE(closedByEnter);
    EXPECT_EQ(windows.aboutProgram().result(), QDialog::Accepted);
}

TEST(AboutWindowsLayout, MatchReviewedDumps) {
    AboutProgramDialog program;
    program.show();
    expectMatchesGolden(QStringLiteral("about_program"), dumpWidgetTree(&program));
    AboutAuthorWindow author;
    author.show();
    expectMatchesGolden(QStringLiteral("about_author"), dumpWidgetTree(&author));
}

TEST_F(AboutTest, AboutAuthorOpensOneModelessWindowBroughtToTheFront) {
    AboutAuthorWindow& author = windows.aboutAuthor();
    findIn<QAction>(windows.mainWindow(), QStringLiteral("N15"))->trigger();
    EXPECT_TRUE(author.isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(windows.mainWindow().isEnabled());
    // The main window goes on working while the window is open.
    findIn<QAction>(windows.mainWindow(), QStringLiteral("N13"))->trigger();
    EXPECT_TRUE(findIn<QFrame>(windows.mainWindow(), "Panel1")->isVisible());
    author.showMinimized();
    findIn<QAction>(windows.mainWindow(), QStringLiteral("N15"))->trigger();
    EXPECT_TRUE(author.isVisible());
    EXPECT_FALSE(author.isMinimized());
    int open = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QStringLiteral("Form5") && w->isVisible()) {
            ++open;
        }
    }
    EXPECT_EQ(open, 1);
}

// Every control and picture of every window carries a name for assistive technology.
TEST_F(AboutTest, EveryControlAndPictureHasAnAccessibleName) {
    const QList<QWidget*> roots = {&windows.mainWindow(), &windows.titlePage(),
                                   &windows.aboutProgram(), &windows.aboutAuthor()};
    for (QWidget* root : roots) {
        for (QWidget* w : root->findChildren<QWidget*>()) {
            const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                                 qobject_cast<QPlainTextEdit*>(w);
            const auto* label = qobject_cast<QLabel*>(w);
            const bool picture = label != nullptr && label->text().isEmpty();
            const bool screen = w->parentWidget() == windows.mainWindow().centralWidget() &&
                                qobject_cast<QFrame*>(w) != nullptr;
            if (control || picture || screen) {
                EXPECT_FALSE(w->accessibleName().isEmpty())
                    << root->objectName().toStdString() << " / " << w->objectName().toStdString()
                    << " (" << w->metaObject()->className() << ")";
            }
        }
    }
    EXPECT_FALSE(findIn<QWidget>(windows.mainWindow(), "WebBrowser1")->accessibleName().isEmpty());
}

} // namespace
} // namespace velmora::test
