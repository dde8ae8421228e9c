// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/course/course_book.h"
#include "core/storage/failure.h"
#include "support/same_path.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using velmora::CourseBook;
using velmora::Failure;
using velmora::test::TempFolder;

namespace {

QByteArray courseText(const char* caption) {
    return QByteArray(R"([course]
id = "demo"
caption = ")") +
           caption +
           R"("
help = "help.htm"

[[menu]]
caption = "Лекции"

[[menu.item]]
caption = "Лекция"
document = "Data/L1.htm"
)";
}

void writeDocuments(const TempFolder& folder) {
    QDir(folder.path()).mkpath(QStringLiteral("data"));
    folder.write(QStringLiteral("help.htm"), "<p>help</p>");
    folder.write(QStringLiteral("data/l1.htm"), "<p>one</p>");
}

TEST(CourseBookCurrent, FolderWithoutCourseFileIsTheShippedCourse) {
    const TempFolder folder;
    const CourseBook& course = CourseBook::current();
    EXPECT_EQ(course.id, QStringLiteral("velmora"));
    EXPECT_EQ(course.caption, QStringLiteral("ЭУИ Velmora"));
    EXPECT_EQ(course.folder, folder.path());
    ASSERT_EQ(course.menus.size(), 5U);
    EXPECT_EQ(course.menus.back().name, QStringLiteral("N8"));
    EXPECT_EQ(course.item(QStringLiteral("n2"))->afterTest, 1);
    EXPECT_EQ(course.shownTests, 10);
    // The built-in copy is the repository's one file.
    QFile shipped(QStringLiteral(VELMORA_SOURCE_ROOT "/course/course.toml"));
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
    EXPECT_EQ(CourseBook::builtInText(), shipped.readAll());
}

TEST(CourseBookCurrent, ReadsTheFolderFileOnceAndAgainWhenItChanges) {
    const TempFolder folder;
    writeDocuments(folder);
    folder.write(QStringLiteral("course.toml"), courseText("Первый"));
    const CourseBook& first = CourseBook::current();
    EXPECT_EQ(first.caption, QStringLiteral("Первый"));
    // Letter case of the document matched as the program matches data files.
    EXPECT_TRUE(velmora::test::samePath(first.path(first.menus[0].items[0].document),
                                        folder.file(QStringLiteral("data/l1.htm"))));
    EXPECT_EQ(&CourseBook::current(), &first);
    folder.write(QStringLiteral("course.toml"), courseText("Второй курс"));
    const CourseBook& second = CourseBook::current();
    EXPECT_EQ(second.caption, QStringLiteral("Второй курс"));
    // The first stays valid for whoever still holds it.
    EXPECT_EQ(first.caption, QStringLiteral("Первый"));
}

TEST(CourseBookCurrent, BadFileFailsWithItsPlaceEveryTime) {
    const TempFolder folder;
    writeDocuments(folder);
    QByteArray text = courseText("Курс");
    text.replace("caption = \"Лекция\"", "captoin = \"Лекция\"");
    folder.write(QStringLiteral("course.toml"), text);
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            CourseBook::current();
            ADD_FAILURE() << "no failure";
        } catch (const Failure& f) {
            EXPECT_EQ(f.message(), QStringLiteral("course.toml:10:1: неизвестный ключ «captoin»"));
        }
    }
    QFile::remove(folder.file(QStringLiteral("data/l1.htm")));
    folder.write(QStringLiteral("course.toml"), courseText("Курс"));
    EXPECT_THROW(
        {
            try {
                CourseBook::current();
            } catch (const Failure& f) {
                EXPECT_EQ(f.message(),
                          QStringLiteral("course.toml:11:12: нет файла «Data/L1.htm»"));
                throw;
            }
        },
        Failure);
}

} // namespace
