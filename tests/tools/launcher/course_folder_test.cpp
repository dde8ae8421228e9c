// SPDX-License-Identifier: GPL-3.0-or-later
#include "course_folder.h"

#include "core/storage/failure.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace velmora::launch {
namespace {

using test::TempFolder;

struct FolderCase {
    const char* name;
    const char* userData; // XDG_DATA_HOME, or APPDATA on Windows
    const char* home;
    const char* expected;
    Layout layout = Layout::Unix;
};

void PrintTo(const FolderCase& c, std::ostream* os) {
    *os << c.name;
}

class UserCourseFolder : public ::testing::TestWithParam<FolderCase> {};

TEST_P(UserCourseFolder, FollowsTheSystemsUserDataFolder) {
    const FolderCase c = GetParam();
    EXPECT_EQ(userCourseFolder(QString::fromUtf8(c.userData), QString::fromUtf8(c.home), c.layout),
              QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UserCourseFolder,
    ::testing::Values(
        FolderCase{"Set", "/data/anna", "/home/anna", "/data/anna/velmora/course"},
        FolderCase{"TrailingSlash", "/data/anna/", "/home/anna", "/data/anna/velmora/course"},
        // Unset, empty and relative values are ignored, as the XDG rules say.
        FolderCase{"Unset", "", "/home/anna", "/home/anna/.local/share/velmora/course"},
        FolderCase{"Relative", "share", "/home/anna", "/home/anna/.local/share/velmora/course"},
        FolderCase{"HomeSlash", "", "/home/anna/", "/home/anna/.local/share/velmora/course"},
        // Windows: %APPDATA% as the system writes it, with backslashes; without it (or with a
        // relative one), the home folder's AppData\Roaming.
        FolderCase{"WindowsAppData", "C:\\Users\\Анна\\AppData\\Roaming", "C:/Users/Анна",
                   "C:/Users/Анна/AppData/Roaming/velmora/course", Layout::Windows},
        FolderCase{"WindowsForwardSlashes", "D:/profiles/anna", "C:/Users/anna",
                   "D:/profiles/anna/velmora/course", Layout::Windows},
        FolderCase{"WindowsUnset", "", "C:/Users/anna",
                   "C:/Users/anna/AppData/Roaming/velmora/course", Layout::Windows},
        FolderCase{"WindowsRelative", "Roaming", "C:/Users/anna",
                   "C:/Users/anna/AppData/Roaming/velmora/course", Layout::Windows},
        // A Unix path is not absolute to Windows, nor a drive letter to Unix.
        FolderCase{"WindowsGivenAUnixPath", "/data/anna", "C:/Users/anna",
                   "C:/Users/anna/AppData/Roaming/velmora/course", Layout::Windows},
        FolderCase{"UnixGivenADrive", "C:/data", "/home/anna",
                   "/home/anna/.local/share/velmora/course"}),
    [](const ::testing::TestParamInfo<FolderCase>& info) { return std::string(info.param.name); });

TEST(InstalledTemplate, LiesUnderTheLaunchersOwnPrefix) {
    EXPECT_EQ(installedTemplate(QStringLiteral("/usr/bin"), Layout::Unix),
              QStringLiteral("/usr/share/velmora/course"));
    EXPECT_EQ(installedTemplate(QStringLiteral("/tmp/root/usr/bin"), Layout::Unix),
              QStringLiteral("/tmp/root/usr/share/velmora/course"));
    // On Windows the program folder holds the template beside the programs.
    EXPECT_EQ(installedTemplate(QStringLiteral("C:/Program Files/Velmora"), Layout::Windows),
              QStringLiteral("C:/Program Files/Velmora/course"));
    EXPECT_STREQ(userDataVariable(Layout::Windows), "APPDATA");
    EXPECT_STREQ(userDataVariable(Layout::Unix), "XDG_DATA_HOME");
}

// A template with nested folders, a hidden file, an empty file and single-byte data.
class CreateFromTemplate : public ::testing::Test {
protected:
    void SetUp() override {
        QDir().mkpath(folder_.file(QStringLiteral("template/data/info")));
        QDir().mkpath(folder_.file(QStringLiteral("template/data/tests")));
        for (const auto& [name, bytes] : files_) {
            folder_.write(QStringLiteral("template/") + name, bytes);
        }
    }

    QString templatePath() const { return folder_.file(QStringLiteral("template")); }
    QString target() const { return folder_.file(QStringLiteral("xdg/velmora/course")); }
    QStringList leftovers() const {
        return QDir(folder_.file(QStringLiteral("xdg/velmora")))
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    TempFolder folder_;
    const QList<std::pair<QString, QByteArray>> files_{
        {QStringLiteral("users"), QByteArray()},
        {QStringLiteral(".hidden"), QByteArrayLiteral("kept")},
        {QStringLiteral("data/info/tumb.db"), QByteArrayLiteral("admin|admin|report.txt")},
        {QStringLiteral("data/tests/test1.ini"), QByteArrayLiteral("[1]\r\nq=\xC0\xFF\x01\r\n")},
    };
};

TEST_F(CreateFromTemplate, MakesAnExactCopyOnFirstUse) {
    EXPECT_TRUE(createFromTemplate(templatePath(), target()));
    for (const auto& [name, bytes] : files_) {
        EXPECT_EQ(folder_.read(QStringLiteral("xdg/velmora/course/") + name), bytes)
            << name.toStdString();
    }
    EXPECT_EQ(leftovers(), QStringList{QStringLiteral("course")});
}

TEST_F(CreateFromTemplate, CopiesOfAReadOnlyTemplateAreWritable) {
    const QString db = templatePath() + QStringLiteral("/data/info/tumb.db");
    QFile::setPermissions(db, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    ASSERT_TRUE(createFromTemplate(templatePath(), target()));
    EXPECT_TRUE(QFile::permissions(target() + QStringLiteral("/data/info/tumb.db")) &
                QFile::WriteOwner);
}

TEST_F(CreateFromTemplate, NeverChangesAnExistingFolder) {
    QDir().mkpath(target());
    folder_.write(QStringLiteral("xdg/velmora/course/users"), QByteArrayLiteral("anna\r\n"));
    EXPECT_FALSE(createFromTemplate(templatePath(), target()));
    EXPECT_EQ(folder_.read(QStringLiteral("xdg/velmora/course/users")),
              QByteArrayLiteral("anna\r\n"));
    EXPECT_EQ(QDir(target()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("users")});
}

TEST_F(CreateFromTemplate, RefusesAFileInThePlaceOfTheFolder) {
    QDir().mkpath(folder_.file(QStringLiteral("xdg/velmora")));
    folder_.write(QStringLiteral("xdg/velmora/course"), QByteArrayLiteral("notes"));
    EXPECT_THROW(createFromTemplate(templatePath(), target()), Failure);
    EXPECT_EQ(folder_.read(QStringLiteral("xdg/velmora/course")), QByteArrayLiteral("notes"));
}

TEST_F(CreateFromTemplate, AMissingTemplateMakesNothing) {
    const QString missing = folder_.file(QStringLiteral("nowhere"));
    try {
        createFromTemplate(missing, target());
        FAIL() << "no failure";
    } catch (const Failure& f) {
        EXPECT_TRUE(f.message().contains(missing)) << f.message().toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(target()));
}

#ifdef Q_OS_UNIX
// A dangling symbolic link makes the copy fail (a Windows shortcut would copy).
TEST_F(CreateFromTemplate, AFailedCopyLeavesNoHalfFolder) {
    // A dangling link cannot be copied, whoever runs the test.
    ASSERT_TRUE(QFile::link(folder_.file(QStringLiteral("gone")),
                            templatePath() + QStringLiteral("/data/zz-broken")));
    EXPECT_THROW(createFromTemplate(templatePath(), target()), Failure);
    EXPECT_FALSE(QFileInfo::exists(target()));
    EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(u' ').toStdString();
    // Once the template is mended the next start succeeds.
    QFile::remove(templatePath() + QStringLiteral("/data/zz-broken"));
    EXPECT_TRUE(createFromTemplate(templatePath(), target()));
}
#endif

TEST(CheckedCourseFolder, AcceptsAFolderWithItsDataFolderInAnyLetterCase) {
    const TempFolder folder;
    QDir().mkpath(folder.file(QStringLiteral("shared/Data")));
    EXPECT_EQ(checkedCourseFolder(QStringLiteral("shared/")),
              folder.file(QStringLiteral("shared")));
    EXPECT_EQ(checkedCourseFolder(folder.file(QStringLiteral("shared"))),
              folder.file(QStringLiteral("shared")));
}

TEST(CheckedCourseFolder, RefusesWhatIsNotACourseFolder) {
    const TempFolder folder;
    QDir().mkpath(folder.file(QStringLiteral("unmounted")));
    QDir().mkpath(folder.file(QStringLiteral("other/docs")));
    folder.write(QStringLiteral("file"), QByteArrayLiteral("x"));
    for (const char* name : {"missing", "unmounted", "other", "file"}) {
        EXPECT_THROW(checkedCourseFolder(folder.file(QString::fromUtf8(name))), Failure) << name;
    }
    EXPECT_FALSE(QFileInfo::exists(folder.file(QStringLiteral("missing"))));
    EXPECT_TRUE(QDir(folder.file(QStringLiteral("unmounted"))).isEmpty());
}

} // namespace
} // namespace velmora::launch
