#include "access/code_page.h"
#include "access/failure.h"
#include "access/user_list.h"
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

TEST(UserListFile, SavesEveryNameWithCrLfAndCreatesTheFile) {
    const TempFolder folder;
    UserList list({QStringLiteral("Ivan"), QStringLiteral("Әсел")});
    list.save();
    EXPECT_EQ(folder.read(QStringLiteral("users")), CodePage::encode(u"Ivan\r\nӘсел\r\n"));
    EXPECT_EQ(UserList::load().names(), list.names());
    // No temporary or lock file is left beside it.
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("users")});
}

// A save appends when the file already holds the start of the list; the end result must be the
// whole list whatever the file held before.
TEST(UserListFile, SaveLeavesExactlyTheListWhateverTheFileHeld) {
    const TempFolder folder;
    const UserList list({QStringLiteral("Ivan"), QStringLiteral("Olga")});
    const QByteArray before[] = {"", "Ivan\r\n", "Ivan", "Ivan\r\nOlga\r\n", "Ivan\r\nOlga\r\nPetr\r\n",
                                 "Petr\r\n", "Iv"};
    for (const QByteArray& old : before) {
        folder.write(QStringLiteral("users"), old);
        list.save();
        EXPECT_EQ(folder.read(QStringLiteral("users")), QByteArray("Ivan\r\nOlga\r\n")) << old.toStdString();
    }
}

TEST(UserListFile, ASaveThatFailsLeavesTheOldFile) {
    const TempFolder folder;
    folder.write(QStringLiteral("users"), "old\r\n");
    QFile::setPermissions(folder.file(QStringLiteral("users")), QFile::ReadOwner);
    try {
        UserList({QStringLiteral("new")}).save();
        ADD_FAILURE() << "wrote a read-only list";
    } catch (const Failure& f) {
        EXPECT_TRUE(f.message().startsWith(QStringLiteral("Cannot create file \"%1\". ")
                                               .arg(folder.file(QStringLiteral("users")))));
    }
    EXPECT_EQ(folder.read(QStringLiteral("users")), QByteArray("old\r\n"));
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
