// SPDX-License-Identifier: GPL-3.0-or-later
// The course's index kept up to date off the GUI thread: ready after its first update, and
// updated again by itself when a document file changes.

#include "gui/documents/course_search.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace velmora::test {
namespace {

TEST(CourseSearchIndex, IsReadyAfterItsFirstUpdateAndFollowsAChangedDocument) {
    TempFolder folder;
    const QString page = QDir(folder.path()).filePath(QStringLiteral("lecture.html"));
    const QString broken = QDir(folder.path()).filePath(QStringLiteral("missing.html"));
    folder.write(QStringLiteral("lecture.html"), "<p>Бірінші нұсқа</p>");
    CourseSearch search(QDir(folder.path()).filePath(QStringLiteral("index.sqlite")));
    QSignalSpy updated(&search, &CourseSearch::updated);
    EXPECT_TRUE(search.search(QStringLiteral("нұсқа"), {page}).isEmpty()); // not ready: nothing

    search.index({{page, QStringLiteral("Дәріс")}, {broken, QStringLiteral("Жоқ")}});
    ASSERT_TRUE(updated.wait(20'000));
    EXPECT_TRUE(search.ready());
    EXPECT_EQ(search.unreadable(), QStringList{broken});
    EXPECT_EQ(search.search(QStringLiteral("бірінші"), {page}).size(), 1);

    folder.write(QStringLiteral("lecture.html"), "<p>Екінші нұсқа</p>");
    ASSERT_TRUE(updated.wait(20'000));
    EXPECT_TRUE(search.search(QStringLiteral("бірінші"), {page}).isEmpty());
    EXPECT_EQ(search.search(QStringLiteral("екінші"), {page}).size(), 1);
}

} // namespace
} // namespace velmora::test
