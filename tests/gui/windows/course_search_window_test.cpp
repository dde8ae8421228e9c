// SPDX-License-Identifier: GPL-3.0-or-later
// "Поиск по курсу" on an index that goes wrong: a failure of any of its handlers is shown in the
// default error box, a damaged index is built again while the program runs, an index locked by
// another copy of the program is opened once the window is opened again; Escape closes it.

#include "core/search/sqlite_database.h"
#include "core/storage/failure.h"
#include "gui/documents/course_search.h"
#include "gui/kit/message_boxes.h"
#include "gui/windows/course_search_window.h"
#include "support/temp_folder.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace velmora::test {
namespace {

using namespace std::chrono_literals;

const QString building = QStringLiteral("Индекс строится...");

class CourseSearchWindowTest : public ::testing::Test {
protected:
    CourseSearchWindowTest() {
        MessageBoxes::clearShown();
        folder.write(QStringLiteral("lecture.html"),
                     QStringLiteral("<title>Дәріс</title><p>Ақпараттық жүйелер</p>").toUtf8());
        search.setBusyTimeout(50ms);
        QObject::connect(&window, &CourseSearchWindow::openWanted, &window, [this] {
            if (refuse) {
                throw Failure(QStringLiteral("Құжат ашылмады"));
            }
        });
    }
    ~CourseSearchWindowTest() override { MessageBoxes::clearShown(); }

    // Starts the index and waits for its first update.
    bool indexed() {
        search.index({{page, QStringLiteral("Дәріс")}});
        return updated.wait(20'000);
    }
    QSet<QString> openable() const {
        if (refuse) {
            throw Failure(QStringLiteral("Құжат ашылмады"));
        }
        return {page};
    }
    QStringList titles() const {
        QStringList found;
        for (int i = 0; i < window.results()->count(); ++i) {
            found << window.results()->item(i)->data(Qt::AccessibleTextRole).toString();
        }
        return found;
    }

    TempFolder folder;
    const QString page = folder.file(QStringLiteral("lecture.html"));
    const QString indexPath = folder.file(QStringLiteral("index.sqlite"));
    bool refuse = false;
    CourseSearch search{indexPath};
    CourseSearchWindow window{&search, [this] { return openable(); }};
    QSignalSpy updated{&search, &CourseSearch::updated};
};

TEST_F(CourseSearchWindowTest, EveryHandlerShowsItsFailureInTheDefaultErrorBox) {
    ASSERT_TRUE(indexed());
    window.showInFront();
    struct Case {
        const char* handler;
        std::function<void()> run;
    };
    const Case cases[] = {
        {"typing pauses", [&] { QTest::keyClicks(window.queryBox(), QStringLiteral("s")); }},
        {"Enter in the query box", [&] { QTest::keyClick(window.queryBox(), Qt::Key_Return); }},
        {"the index updated",
         [&] {
             search.index({{page, QStringLiteral("Жаңа атау")}});
         }},
        {"what the user may open changed", [&] { window.refresh(); }},
        {"Enter on a result",
         [&] {
             refuse = false;
             window.refresh();
             ASSERT_EQ(titles(), QStringList{QStringLiteral("Дәріс")});
             refuse = true;
             QTest::keyClick(window.results(), Qt::Key_Return);
         }},
    };
    for (const Case& c : cases) {
        MessageBoxes::clearShown();
        window.queryBox()->setText(QStringLiteral("ақпарат"));
        refuse = true;
        c.run();
        QTRY_COMPARE_WITH_TIMEOUT(MessageBoxes::shown().size(), 1, 20'000);
        const MessageBoxes::Shown box = MessageBoxes::shown().front();
        EXPECT_EQ(box.kind, MessageBoxes::Kind::Error) << c.handler;
        EXPECT_EQ(box.text, errorBoxText(QStringLiteral("Құжат ашылмады"))) << c.handler;
        EXPECT_TRUE(window.isVisible()) << c.handler;
    }
}

TEST_F(CourseSearchWindowTest, ADamagedIndexIsBuiltAgainAndSearchedInTheSameRun) {
    ASSERT_TRUE(indexed());
    window.showInFront();
    window.queryBox()->setText(QStringLiteral("ақпарат"));
    window.refresh();
    ASSERT_EQ(titles(), QStringList{QStringLiteral("Дәріс")});
    // The words' blocks overwritten: SQLite's own check still finds the file sound.
    {
        const SqliteDatabase other(indexPath);
        other.execute("UPDATE document_text_data SET block = randomblob(length(block))");
        QString check;
        other.tryQuery("PRAGMA quick_check", check);
        EXPECT_EQ(check, QStringLiteral("ok"));
    }
    QTest::keyClick(window.queryBox(), Qt::Key_Return);
    EXPECT_TRUE(titles().isEmpty());
    EXPECT_EQ(window.status()->text(), building);
    EXPECT_TRUE(MessageBoxes::shown().isEmpty());
    ASSERT_TRUE(updated.wait(20'000));
    EXPECT_EQ(titles(), QStringList{QStringLiteral("Дәріс")});
    EXPECT_EQ(window.status()->text(), QStringLiteral("Найдено: 1"));
    EXPECT_TRUE(MessageBoxes::shown().isEmpty());
}

TEST_F(CourseSearchWindowTest, AnIndexLockedAtStartIsOpenedWhenTheWindowIsOpenedAgain) {
    // Another copy of the program holds the index while this one starts.
    auto other = std::make_unique<SqliteDatabase>(indexPath);
    other->execute("BEGIN EXCLUSIVE");
    window.showInFront();
    ASSERT_TRUE(indexed());
    EXPECT_FALSE(search.ready());
    EXPECT_TRUE(window.status()->text().contains(QStringLiteral("locked")))
        << window.status()->text().toStdString();

    window.close();
    window.showInFront(); // still held: tried again, and refused again
    ASSERT_TRUE(updated.wait(20'000));
    EXPECT_FALSE(search.ready());

    other.reset();
    window.close();
    window.showInFront();
    EXPECT_EQ(window.status()->text(), building);
    ASSERT_TRUE(updated.wait(20'000));
    EXPECT_TRUE(search.ready());
    window.queryBox()->setText(QStringLiteral("жүйелер"));
    window.refresh();
    EXPECT_EQ(titles(), QStringList{QStringLiteral("Дәріс")});
    EXPECT_TRUE(MessageBoxes::shown().isEmpty());
}

TEST_F(CourseSearchWindowTest, EscapeClosesTheWindowWhereverTheFocusIs) {
    ASSERT_TRUE(indexed());
    window.queryBox()->setText(QStringLiteral("ақпарат"));
    window.refresh();
    ASSERT_EQ(window.results()->count(), 1);
    const QList<QWidget*> focused{window.queryBox(), window.results(), window.status()};
    for (QWidget* focus : focused) {
        window.showInFront();
        ASSERT_TRUE(window.isVisible());
        QTest::keyClick(focus, Qt::Key_Escape);
        EXPECT_FALSE(window.isVisible()) << focus->objectName().toStdString();
    }
}

} // namespace
} // namespace velmora::test
