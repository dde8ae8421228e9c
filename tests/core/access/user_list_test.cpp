// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/access/user_list.h"
#include "core/storage/code_page.h"
#include "core/storage/failure.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::TempFolder;

namespace {

TEST(UserListFile, LinesEndInAnyOfTheUsualWays) {
    struct Case {
        QByteArray text;
        QStringList names;
    };
    const Case cases[] = {
        {QByteArray(), {}},
        {"a\r\nb\r\n", {QStringLiteral("a"), QStringLiteral("b")}},
        {"a\nb", {QStringLiteral("a"), QStringLiteral("b")}},
        {"a\rb\r", {QStringLiteral("a"), QStringLiteral("b")}},
        {"a\r\n\r\nb\n", {QStringLiteral("a"), QString(), QStringLiteral("b")}},
        {" a \r\n", {QStringLiteral(" a ")}},
        {CodePage::encode(u"Әсел\r\nҚанат"), {QStringLiteral("Әсел"), QStringLiteral("Қанат")}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UserList::parse(c.text), c.names) << c.text.toStdString();
    }
}

TEST(UserListFile, LoadsFromTheCurrentFolderWhateverTheLetterCase) {
    const TempFolder folder;
    folder.write(QStringLiteral("USERS"), CodePage::encode(u"Әсел\nIvan\n"));
    EXPECT_EQ(UserList::load().names(),
              (QStringList{QStringLiteral("Әсел"), QStringLiteral("Ivan")}));
}

TEST(UserListFile, AMissingFileFailsWithCannotOpen) {
    const TempFolder folder;
    try {
        (void)UserList::load();
        ADD_FAILURE() << "loaded a missing list";
    } catch (const Failure& f) {
        EXPECT_EQ(f.message(), QStringLiteral("Cannot open file \"%1\". No such file or directory")
                                   .arg(folder.file(QStringLiteral("users"))));
    }
}

TEST(UserListFile, UpdateWritesEveryNameWithCrLfAndCreatesTheFile) {
    const TempFolder folder;
    UserList list;
    list.update([](UserList& current) {
        current.append(QStringLiteral("Ivan"));
        current.append(QStringLiteral("Әсел"));
    });
    EXPECT_EQ(folder.read(QStringLiteral("users")), CodePage::encode(u"Ivan\r\nӘсел\r\n"));
    EXPECT_EQ(UserList::load().names(), list.names());
    // No temporary or lock file is left beside it.
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("users")});
}

// Two copies of the program share the folder: each change starts from the file as it is now, so
// a name the other copy registered or removed since this list was loaded is kept that way.
TEST(UserListFile, UpdateKeepsWhatAnotherCopyChanged) {
    const TempFolder folder;
    folder.write(QStringLiteral("users"), "Ivan\r\n");
    UserList mine = UserList::load();
    UserList theirs = UserList::load();
    theirs.update([](UserList& current) { current.append(QStringLiteral("Olga")); });
    mine.update([](UserList& current) { current.append(QStringLiteral("Petr")); });
    EXPECT_EQ(folder.read(QStringLiteral("users")), QByteArray("Ivan\r\nOlga\r\nPetr\r\n"));
    EXPECT_EQ(mine.names(), (QStringList{QStringLiteral("Ivan"), QStringLiteral("Olga"),
                                         QStringLiteral("Petr")}));
    theirs.update([](UserList& current) { current.removeFirst(QStringLiteral("ivan")); });
    mine.update([](UserList& current) { current.append(QStringLiteral("Aru")); });
    EXPECT_EQ(folder.read(QStringLiteral("users")), QByteArray("Olga\r\nPetr\r\nAru\r\n"));
}

TEST(UserListFile, AFailedUpdateLeavesTheOldFileAndTheList) {
    const TempFolder folder;
    folder.write(QStringLiteral("users"), "old\r\n");
    QFile::setPermissions(folder.file(QStringLiteral("users")), QFile::ReadOwner);
    UserList list = UserList::load();
    try {
        list.update([](UserList& current) { current.append(QStringLiteral("new")); });
        ADD_FAILURE() << "wrote a read-only list";
    } catch (const Failure& f) {
        EXPECT_TRUE(f.message().startsWith(QStringLiteral("Cannot create file \"%1\". ")
                                               .arg(folder.file(QStringLiteral("users")))));
    }
    EXPECT_EQ(folder.read(QStringLiteral("users")), QByteArray("old\r\n"));
    EXPECT_EQ(list.names(), QStringList{QStringLiteral("old")});
}

TEST(UserListEntries, MatchWithoutLetterCase) {
    UserList list({QStringLiteral("Әсел"), QStringLiteral("Ivan")});
    EXPECT_TRUE(list.contains(QStringLiteral("ӘСЕЛ")));
    EXPECT_FALSE(list.contains(QStringLiteral("Әсе")));
    list.append(QStringLiteral("IVAN"));
    EXPECT_EQ(list.names().size(), 2);
    list.append(QStringLiteral("Olga"));
    EXPECT_EQ(list.names().back(), QStringLiteral("Olga"));
    EXPECT_FALSE(list.removeFirst(QStringLiteral("Nobody")));
    EXPECT_TRUE(list.removeFirst(QStringLiteral("әсел")));
    EXPECT_EQ(list.names(), (QStringList{QStringLiteral("Ivan"), QStringLiteral("Olga")}));
}

} // namespace
