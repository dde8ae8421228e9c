// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/admin_run.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace velmora::test;
using namespace Qt::StringLiterals;

namespace {

// A small course: a lecture linking to a second page, which links to a missing picture and to a
// page on the web; a test not yet built, locked behind the first lecture's test; a page nothing
// reaches.
const char* const kCourse = R"([course]
id = "small"
caption = "Малый курс"
help = "data/help.htm"

[[menu]]
name = "lectures"
caption = "Лекции"

[[menu.item]]
name = "l1"
caption = "Лекция 1 "
document = "data/l1.htm"
icon = "lecture"

[[menu.item]]
test = 1

[[menu]]
caption = "Справочник"
before_sign_in = true

[[menu.item]]
caption = "Лекция 2"
document = "data/l2.htm"
after_test = 1

[[menu.item]]
command = "back"
)";

void writeCourse(const TempFolder& folder, const QByteArray& courseFile) {
    QDir(folder.path()).mkpath(u"data/more"_s);
    folder.write(u"course.toml"_s, courseFile);
    folder.write(u"data/help.htm"_s, "<p>help</p>");
    folder.write(u"data/l1.htm"_s, "<p>one</p>\n<a href=\"more/l3.htm#top\">three</a>\n");
    folder.write(u"data/l2.htm"_s, "<p>two</p>");
    folder.write(u"data/more/l3.htm"_s,
                 "<html>\n<body>\n  <img src='pic.png'> <a href=\"https://example.org/x.htm\">web"
                 "</a> <a href=\"../l2.htm\">two</a>\n</body>\n");
    folder.write(u"data/more/orphan.html"_s, "<p>nobody</p>");
}

TEST(CourseCheck, ListsEveryProblemWithItsPlace) {
    const TempFolder folder;
    QByteArray text(kCourse);
    text.replace("caption = \"Справочник\"", "captoin = \"Справочник\"");
    writeCourse(folder, text);
    const AdminRun run = runAdmin({u"course"_s, u"check"_s});
    EXPECT_EQ(run.status, 1) << run.err.toStdString();
    EXPECT_EQ(run.out.split(u'\n'),
              (QStringList{
                  u"course.toml:16:1: warning: нет файла теста «data/tests/test1.ini»: тест ещё "
                  u"не собран"_s,
                  u"course.toml:20:1: error: неизвестный ключ «captoin»"_s,
                  u"course.toml:19:1: error: нет обязательного ключа «caption»"_s,
                  u"data/more/l3.htm:3:13: warning: ссылка на несуществующий файл «pic.png»"_s,
                  u"data/more/orphan.html: warning: документ не открывается ни из меню, ни по "
                  u"ссылке"_s,
                  u"2 errors, 3 warnings"_s,
                  u""_s,
              }));
}

struct CleanFolder {
    const char* name;
    const char* folderArgument; // empty: run in the folder itself
};

void PrintTo(const CleanFolder& c, std::ostream* os) {
    *os << c.name;
}

class CourseCheckClean : public ::testing::TestWithParam<CleanFolder> {};

TEST_P(CourseCheckClean, PrintsNoProblemAndSucceeds) {
    const TempFolder folder;
    writeCourse(folder, kCourse);
    folder.write(u"data/tests/test1.ini"_s, "[test1]\r\n");
    QFile::remove(folder.file(u"data/more/orphan.html"_s));
    folder.write(u"data/more/pic.png"_s, "png");
    QStringList args{u"course"_s, u"check"_s};
    QString runIn = folder.path();
    if (qstrlen(GetParam().folderArgument) > 0) {
        args.append(QString::fromUtf8(GetParam().folderArgument));
        runIn = QDir::tempPath();
        args.back().replace(u"FOLDER"_s, folder.path());
    }
    const AdminRun run = runAdmin(args, runIn);
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, u"0 errors, 0 warnings\n"_s);
}

INSTANTIATE_TEST_SUITE_P(Rows, CourseCheckClean,
                         ::testing::Values(CleanFolder{"currentDirectory", ""},
                                           CleanFolder{"namedFolder", "FOLDER"}),
                         [](const auto& info) { return std::string(info.param.name); });

// The course folders of the source tree: the shipped course and the example second course.
class SourceTreeCourse : public ::testing::TestWithParam<const char*> {
protected:
    QString folder() const {
        return QStringLiteral(VELMORA_SOURCE_ROOT "/") + QString::fromUtf8(GetParam());
    }
};

TEST_P(SourceTreeCourse, ChecksWithoutAnyProblem) {
    const AdminRun run = runAdmin({u"course"_s, u"check"_s, folder()});
    EXPECT_EQ(run.status, 0) << run.out.toStdString();
    EXPECT_EQ(run.out, u"0 errors, 0 warnings\n"_s);
}

// Its committed tests are what velmora-admin builds from its question sources.
TEST_P(SourceTreeCourse, TestsAreBuiltFromTheirSources) {
    const TempFolder built;
    const QStringList sources =
        QDir(folder() + u"/sources"_s).entryList({u"test*.txt"_s}, QDir::Files);
    ASSERT_FALSE(sources.isEmpty());
    for (const QString& source : sources) {
        const QString name = source.chopped(4) + u".ini"_s;
        const AdminRun run =
            runAdmin({u"test"_s, u"build"_s, folder() + u"/sources/"_s + source, built.file(name)});
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        QFile committed(folder() + u"/data/tests/"_s + name);
        ASSERT_TRUE(committed.open(QIODevice::ReadOnly)) << name.toStdString();
        EXPECT_EQ(committed.readAll(), built.read(name)) << name.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Folders, SourceTreeCourse, ::testing::Values("course", "examples/russian-course"),
    [](const auto& info) {
        return QString::fromUtf8(info.param).replace(u'/', u'_').replace(u'-', u'_').toStdString();
    });

TEST(CourseShow, PrintsTheMenusAsTheProgramShowsThem) {
    const TempFolder folder;
    writeCourse(folder, kCourse);
    const AdminRun run = runAdmin({u"course"_s, u"show"_s});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, u"\"Малый курс\" (small), help data/help.htm\n"
                       u"lectures \"Лекции\"\n"
                       u"  l1 \"Лекция 1 \" data/l1.htm\n"
                       u"  test1 \"Тестирование №1\" test 1\n"
                       u"menu2 \"Справочник\", before sign-in too\n"
                       u"  menu2_item1 \"Лекция 2\" data/l2.htm, after test 1\n"
                       u"  N17 \"Назад\" command back\n"
                       u"then the program's own menus: \"Басқару\", \"Авторизация формаға\", "
                       u"\"Көмек\", \"Шығу\"\n"_s);
}

TEST(CourseShow, PrintsATestsSettings) {
    const TempFolder folder;
    QByteArray text(kCourse);
    text.replace("\ntest = 1\n", "\ntest = 1\ndraw = 5\nshuffle_answers = true\nminutes = 20\n"
                                 "review = \"after\"\n");
    writeCourse(folder, text);
    const AdminRun run = runAdmin({u"course"_s, u"show"_s});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(u"  test1 \"Тестирование №1\" test 1, draw 5, answers shuffled, "
                                 u"20 min, review after\n"_s))
        << run.out.toStdString();
}

TEST(CourseCheck, RefusesADrawAboveTheBuiltTestsQuestions) {
    const TempFolder folder;
    QByteArray text(kCourse);
    text.replace("\ntest = 1\n", "\ntest = 1\ndraw = 3\n");
    writeCourse(folder, text);
    QDir(folder.path()).mkpath(u"data/tests"_s);
    // "vsego" = "2", scrambled with the store's key.
    QByteArray two;
    for (const char c : QByteArray("2")) {
        two.append(char(c ^ 0xA4));
    }
    folder.write(u"data/tests/test1.ini"_s, "[inf]\r\nvsego=" + two + "\r\n");
    const AdminRun run = runAdmin({u"course"_s, u"check"_s});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.contains(
        u"course.toml:18:8: error: draw = 3 больше вопросов файла теста №1 (2)\n"_s))
        << run.out.toStdString();
}

TEST(CourseShow, RefusesABadFileAsTheProgramDoes) {
    const TempFolder folder;
    QByteArray text(kCourse);
    text.replace("document = \"data/l2.htm\"", "document = \"data/l9.htm\"");
    writeCourse(folder, text);
    const AdminRun run = runAdmin({u"course"_s, u"show"_s});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, QString());
    EXPECT_EQ(run.err, u"velmora-admin: course.toml:25:12: нет файла «data/l9.htm»\n"_s);
}

TEST(CourseCommands, WrongArgumentsAndHelp) {
    const TempFolder folder;
    for (const char* command : {"check", "show"}) {
        const AdminRun extra = runAdmin({u"course"_s, QString::fromUtf8(command), u"a"_s, u"b"_s});
        EXPECT_EQ(extra.status, 2) << command;
        const AdminRun missing =
            runAdmin({u"course"_s, QString::fromUtf8(command), folder.file(u"nowhere"_s)});
        EXPECT_EQ(missing.status, 2) << command;
        EXPECT_TRUE(missing.err.startsWith(u"velmora-admin: no folder "_s)) << command;
    }
    const AdminRun help = runAdmin({u"--help"_s});
    EXPECT_TRUE(help.out.contains(u"velmora-admin course check [FOLDER]"_s));
    EXPECT_TRUE(help.out.contains(u"velmora-admin course show [FOLDER]"_s));
}

} // namespace
