// SPDX-License-Identifier: GPL-3.0-or-later
// The files of a folder a classroom shares belong to the class's group: a log the program makes
// and a file it rewrites keep the mode and group the teacher gave them, whatever the umask and
// the primary group of the student whose program writes them.
#include "core/exam/answer_log.h"
#include "core/exam/test_log.h"
#include "core/storage/safe_file.h"
#include "support/temp_folder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <grp.h>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using velmora::test::TempFolder;

// A group and a user that hold no file of the test machine: the class and one student.
constexpr gid_t kClassGroup = 65532;
constexpr uid_t kStudent = 65533;

struct Owner {
    mode_t mode = 0;
    gid_t group = 0;
};

Owner ownerOf(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) {
        return {};
    }
    return {st.st_mode & 07777, st.st_gid};
}

void give(const QString& path, mode_t mode, gid_t group) {
    const QByteArray name = QFile::encodeName(path);
    ASSERT_EQ(::chown(name.constData(), static_cast<uid_t>(-1), group), 0) << name.constData();
    ASSERT_EQ(::chmod(name.constData(), mode), 0) << name.constData();
}

// The umask a student's session usually has, for the life of the object.
class StudentUmask {
public:
    StudentUmask() : previous_(::umask(022)) {}
    ~StudentUmask() { ::umask(previous_); }
    StudentUmask(const StudentUmask&) = delete;
    StudentUmask& operator=(const StudentUmask&) = delete;

private:
    mode_t previous_;
};

// Each row: the folder's mode and group, the test log's (none: no test log yet), and the mode
// and group the log that the program makes must have.
TEST(SharedGroup, ANewLogTakesTheModeAndGroupOfTheTestLogOrItsFolder) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root: the files are given a group the test user is not in";
    }
    struct Row {
        const char* what;
        mode_t folderMode;
        gid_t folderGroup;
        std::optional<Owner> testLog;
        Owner made;
    };
    const Row rows[] = {
        {"answer log beside a group-writable test log",
         0755,
         0,
         Owner{0664, kClassGroup},
         {0664, kClassGroup}},
        {"answer log beside a test log only its group reads",
         0775,
         0,
         Owner{0640, kClassGroup},
         {0640, kClassGroup}},
        {"test log in a group-writable folder",
         0775,
         kClassGroup,
         std::nullopt,
         {0664, kClassGroup}},
        {"test log in a folder only its owner writes",
         0755,
         kClassGroup,
         std::nullopt,
         {0644, kClassGroup}},
    };
    for (const Row& row : rows) {
        const TempFolder folder;
        give(folder.path(), row.folderMode, row.folderGroup);
        const StudentUmask umask;
        const QString reportfile = folder.file(QStringLiteral("report.txt"));
        QString made = reportfile;
        if (row.testLog) {
            folder.write(QStringLiteral("report.txt"), QByteArray());
            give(reportfile, row.testLog->mode, row.testLog->group);
            const velmora::AnswerLog::Answer answer{
                QStringLiteral("anna"), QDateTime::currentDateTime(), QStringLiteral("test1"), 1,
                QStringLiteral("A"),    QStringLiteral("A"),          QStringLiteral("q")};
            ASSERT_TRUE(velmora::AnswerLog::append(reportfile, answer)) << row.what;
            made = folder.file(QStringLiteral("report.answers.txt"));
        } else {
            velmora::TestLog::append(reportfile, QStringLiteral("anna | line"));
        }
        const Owner owner = ownerOf(made);
        EXPECT_EQ(owner.mode, row.made.mode) << row.what;
        EXPECT_EQ(owner.group, row.made.group) << row.what;
        // A log that is there already keeps what it has.
        give(made, 0600, 0);
        ASSERT_EQ(velmora::appendToFile(made, "more\r\n"), 0);
        EXPECT_EQ(ownerOf(made).mode, mode_t{0600}) << row.what;
        EXPECT_EQ(ownerOf(made).group, gid_t{0}) << row.what;
    }
}

// A register rewritten in a folder without the setgid bit keeps its group and mode, setuid and
// setgid bits as well.
TEST(SharedGroup, ARewriteKeepsTheFilesModeAndGroup) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root: the file is given a group the test user is not in";
    }
    const TempFolder folder;
    give(folder.path(), 0775, 0);
    const QString users = folder.file(QStringLiteral("users.ini"));
    const StudentUmask umask;
    for (const mode_t mode : {mode_t{0664}, mode_t{0640}, mode_t{02664}}) {
        folder.write(QStringLiteral("users.ini"), "[old]\r\n");
        give(users, mode, kClassGroup);
        ASSERT_EQ(velmora::writeFileAtomically(users, "[new]\r\n"), 0);
        EXPECT_EQ(folder.read(QStringLiteral("users.ini")), QByteArray("[new]\r\n"));
        EXPECT_EQ(ownerOf(users).mode, mode);
        EXPECT_EQ(ownerOf(users).group, kClassGroup);
    }
}

// A student outside the file's group cannot give the new file that group: the rewrite fails as
// a refused write does, and the file stays as it was, with nothing left beside it.
TEST(SharedGroup, ARewriteThatCannotKeepTheGroupFailsAndChangesNothing) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root: the rewrite runs as another user";
    }
    const TempFolder folder;
    give(folder.path(), 0777, 0);
    const QString users = folder.file(QStringLiteral("users.ini"));
    folder.write(QStringLiteral("users.ini"), "[old]\r\n");
    give(users, 0666, kClassGroup);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const gid_t own = kStudent;
        if (::setgroups(1, &own) != 0 || ::setgid(own) != 0 || ::setuid(kStudent) != 0) {
            ::_exit(100);
        }
        ::_exit(velmora::writeFileAtomically(users, "[new]\r\n"));
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_NE(WEXITSTATUS(status), 100) << "cannot become the student";
    EXPECT_EQ(WEXITSTATUS(status), EPERM);
    EXPECT_EQ(folder.read(QStringLiteral("users.ini")), QByteArray("[old]\r\n"));
    EXPECT_EQ(ownerOf(users).group, kClassGroup);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("users.ini")});
}

} // namespace
