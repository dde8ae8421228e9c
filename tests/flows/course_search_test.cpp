// SPDX-License-Identifier: GPL-3.0-or-later
// Searching the whole course: the documents the user could open now, best first, and a result
// opened on the document screen with the find bar on its word.

#include "core/storage/code_page.h"
#include "core/storage/data_path.h"
#include "gui/documents/document_screen.h"
#include "gui/documents/find_bar.h"
#include "gui/windows/course_search_window.h"
#include "support/course_driver.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace velmora::test {
namespace {

class CourseSearching : public ::testing::Test {
protected:
    CourseSearching() {
        // Lecture 1 in UTF-8 speaks of the word most; lecture 2, in the single-byte code page,
        // once; the help page not at all.
        course.folder().write(
            QStringLiteral("data/info/lig-1.html"),
            QStringLiteral("<html><head><meta charset='utf-8'><title>Ақпараттық жүйелер</title>"
                           "</head><body><p>Ақпараттық жүйе ақпаратты өңдейді.</p>"
                           "<script>var ақпарат = 1;</script></body></html>")
                .toUtf8());
        course.folder().write(
            QStringLiteral("data/info/lig-2.html"),
            CodePage::encode(
                QStringLiteral("<html><body><p>Бизнес-процестер және ақпарат.</p></body></html>")));
        course.folder().write(QStringLiteral("data/help/sod.htm"), "<p>Contents</p>");
        course.storeStudent(QStringLiteral("Айгүл"), QStringLiteral("pw"),
                            {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
        window = &course.start();
        course.signIn(QStringLiteral("Айгүл"), QStringLiteral("pw"));
        course.choose("NSearch");
        search = findIn<CourseSearchWindow>(*window, "courseSearch");
    }

    // Waits for the index, built on its own thread.
    bool indexReady() const {
        QElapsedTimer clock;
        clock.start();
        while (search->status()->text() == QStringLiteral("Индекс строится...") &&
               clock.elapsed() < 20'000) {
            QTest::qWait(20);
        }
        return search->status()->text() != QStringLiteral("Индекс строится...");
    }
    QStringList titles() const {
        QStringList found;
        for (int i = 0; i < search->results()->count(); ++i) {
            found << search->results()->item(i)->data(Qt::AccessibleTextRole).toString();
        }
        return found;
    }

    CourseDriver course;
    MainWindow* window = nullptr;
    CourseSearchWindow* search = nullptr;
};

TEST_F(CourseSearching, ListsOnlyOpenDocumentsBestFirstAndFollowsTheUnlockChain) {
    ASSERT_NE(search, nullptr);
    EXPECT_TRUE(search->isVisible());
    ASSERT_TRUE(indexReady()) << search->status()->text().toStdString();
    search->queryBox()->setText(QStringLiteral("АҚПАРАТ"));
    search->refresh();
    // Lecture 2 is locked until test 1 is passed.
    EXPECT_EQ(titles(), QStringList{QStringLiteral("Ақпараттық жүйелер")});
    course.passTest(1);
    ASSERT_EQ(titles().size(), 2);
    EXPECT_EQ(titles().at(0), QStringLiteral("Ақпараттық жүйелер"));
    // Markup and scripts are not searched: "var" is only in a script.
    search->queryBox()->setText(QStringLiteral("var"));
    search->refresh();
    EXPECT_TRUE(titles().isEmpty());
}

TEST_F(CourseSearching, EnterOpensTheResultWithTheFindBarOnItsWord) {
    ASSERT_TRUE(indexReady());
    course.passTest(1);
    search->queryBox()->setText(QStringLiteral("бизнес"));
    QTest::keyClick(search->queryBox(), Qt::Key_Return);
    EXPECT_EQ(course.documentView().navigations.last(),
              programFolderPath(QStringLiteral("\\data\\info\\lig-2.html")));
    EXPECT_EQ(course.screenInFront(), 1);
    ASSERT_NE(findIn<DocumentScreen>(*window, "documentScreen")->findBar(), nullptr);
    EXPECT_TRUE(findIn<DocumentScreen>(*window, "documentScreen")->findBar()->isVisible());
    EXPECT_EQ(findIn<DocumentScreen>(*window, "documentScreen")->findBar()->text(),
              QStringLiteral("Бизнес"));
}

TEST_F(CourseSearching, AnyTypedTextIsASearchForItsWords) {
    ASSERT_TRUE(indexReady());
    for (const QString& typed :
         {QStringLiteral("\"ақпарат"), QStringLiteral("* - AND NEAR("), QStringLiteral("a:b {x}"),
          QStringLiteral("   "), QString(2000, QLatin1Char('x'))}) {
        search->queryBox()->setText(typed);
        search->refresh();
        EXPECT_TRUE(course.boxes().isEmpty()) << typed.left(40).toStdString();
    }
    search->queryBox()->setText(QStringLiteral("\"ақпаратты өңдейді\""));
    search->refresh();
    EXPECT_EQ(titles(), QStringList{QStringLiteral("Ақпараттық жүйелер")});
}

} // namespace
} // namespace velmora::test
