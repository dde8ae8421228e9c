// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/course/course_file.h"

#include <QSet>
#include <gtest/gtest.h>

using velmora::CourseItemKind;
using velmora::CourseProblem;
using velmora::readCourseFile;

namespace {

// A small valid course; each case changes one line of it.
const char* const kBase = R"([course]
id = "demo"
caption = "Курс"
help = "help.htm"

[[menu]]
name = "lectures"
caption = "Лекции"

[[menu.item]]
name = "l1"
caption = "Лекция 1"
document = "l1.htm"

[[menu.item]]
test = 1
)";

bool inFolder(const QString& path) {
    static const QSet<QString> files{QStringLiteral("help.htm"), QStringLiteral("l1.htm"),
                                     QStringLiteral("img/pic.png"),
                                     QStringLiteral("data/tests/test1.ini")};
    return files.contains(path);
}

QByteArray changed(const char* from, const char* to) {
    QByteArray text(kBase);
    const qsizetype at = text.indexOf(from);
    EXPECT_GE(at, 0) << from;
    return text.replace(at, qsizetype(qstrlen(from)), to);
}

struct BadFile {
    const char* name;
    const char* from;
    const char* to;
    const char* firstError; // the start of the error box's text
};

void PrintTo(const BadFile& c, std::ostream* os) {
    *os << c.name;
}

class CourseFileErrors : public ::testing::TestWithParam<BadFile> {};

TEST_P(CourseFileErrors, NameTheLineColumnAndProblem) {
    const BadFile& c = GetParam();
    const auto reading = readCourseFile(changed(c.from, c.to), inFolder);
    ASSERT_TRUE(reading.hasErrors());
    EXPECT_TRUE(reading.firstError().startsWith(QString::fromUtf8(c.firstError)))
        << reading.firstError().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CourseFileErrors,
    ::testing::Values(
        BadFile{"typoInKey", "caption = \"Лекция 1\"", "captoin = \"Лекция 1\"",
                "course.toml:12:1: неизвестный ключ «captoin»"},
        BadFile{"syntax", "id = \"demo\"", "id = \"demo",
                "course.toml:2:11: ошибка в записи TOML: "},
        BadFile{"unknownTable", "[[menu]]", "[titel_page]\n[[menu]]",
                "course.toml:6:2: неизвестный ключ «titel_page»"},
        BadFile{"wrongType", "help = \"help.htm\"", "help = \"help.htm\"\npass_grade = \"3\"",
                "course.toml:5:14: ключ «pass_grade» должен быть целым числом"},
        BadFile{"boolWrongType", "caption = \"Лекции\"", "before_sign_in = 1\ncaption = \"Лекции\"",
                "course.toml:8:18: ключ «before_sign_in» должен быть true или false"},
        BadFile{"passGradeRange", "help = \"help.htm\"", "help = \"help.htm\"\npass_grade = 9",
                "course.toml:5:14: ключ «pass_grade» должен быть числом от 1 до 5"},
        BadFile{"missingCaption", "caption = \"Лекции\"", "",
                "course.toml:6:1: нет обязательного ключа «caption»"},
        BadFile{"missingId", "id = \"demo\"", "", "course.toml:1:1: нет обязательного ключа «id»"},
        BadFile{"missingDocument", "\"l1.htm\"", "\"l2.htm\"",
                "course.toml:13:12: нет файла «l2.htm»"},
        BadFile{"missingHelp", "\"help.htm\"", "\"sod.htm\"",
                "course.toml:4:8: нет файла «sod.htm»"},
        BadFile{"pathOutOfFolder", "\"l1.htm\"", "\"../l1.htm\"",
                "course.toml:13:12: путь «../l1.htm» должен вести внутрь папки курса"},
        BadFile{"backslashPath", "\"l1.htm\"", "\"data\\\\l1.htm\"",
                "course.toml:13:12: путь «data\\l1.htm» должен вести внутрь папки курса"},
        BadFile{"missingPicture", "document = \"l1.htm\"",
                "document = \"l1.htm\"\nicon = \"img/pic2.png\"",
                "course.toml:14:8: нет файла «img/pic2.png»"},
        BadFile{"unknownIcon", "document = \"l1.htm\"", "document = \"l1.htm\"\nicon = \"lectur\"",
                "course.toml:14:8: у программы нет значка «lectur»; есть: "},
        BadFile{"missingTitlePicture", "[[menu]]", "[title_page]\nemblem = \"img/e.svg\"\n[[menu]]",
                "course.toml:7:10: нет файла «img/e.svg»"},
        BadFile{"twoItemsOneName", "test = 1", "test = 1\nname = \"L1\"",
                "course.toml:17:8: имя «L1» уже есть в строке 11"},
        BadFile{"itemNamedAsMenu", "name = \"l1\"", "name = \"LECTURES\"",
                "course.toml:11:8: имя «LECTURES» уже есть в строке 7"},
        BadFile{"emptyName", "name = \"l1\"", "name = \"\"",
                "course.toml:11:8: имя не может быть пустым"},
        BadFile{"emptyCaption", "caption = \"Лекция 1\"", "caption = \" \"",
                "course.toml:12:11: ключ «caption» не может быть пустым"},
        BadFile{"programsOwnName", "name = \"l1\"", "name = \"n30\"",
                "course.toml:11:8: имя «n30» занято меню программы"},
        BadFile{"afterMissingTest", "test = 1", "test = 1\nafter_test = 7",
                "course.toml:17:14: after_test = 7: в курсе нет теста №7"},
        BadFile{"afterOwnTest", "test = 1", "test = 1\nafter_test = 1",
                "course.toml:17:14: after_test = 1: пункт ждёт собственного теста"},
        BadFile{"badId", "\"demo\"", "\"my course\"",
                "course.toml:2:6: недопустимый id «my course»: только латинские буквы"},
        BadFile{"shippedCoursesFolder", "\"demo\"", "\"Course\"",
                "course.toml:2:6: id «Course» занят: так называется папка курса"},
        BadFile{"badCommand", "test = 1", "command = \"forward\"",
                "course.toml:16:11: неизвестная команда «forward»; есть только «back»"},
        BadFile{"twoKinds", "test = 1", "test = 1\ndocument = \"l1.htm\"",
                "course.toml:15:1: у пункта должен быть ровно один из ключей"},
        BadFile{"noKind", "test = 1", "caption = \"Пусто\"",
                "course.toml:15:1: у пункта должен быть ровно один из ключей"},
        BadFile{"fewerSlotsThanTests", "test = 1", "test = 13",
                "course.toml:1:1: grade_slots = 12 меньше наибольшего номера теста курса (13)"},
        BadFile{"minutesZero", "test = 1", "test = 1\nminutes = 0",
                "course.toml:17:11: ключ «minutes» должен быть числом от 1 до 600"},
        BadFile{"minutesNegative", "test = 1", "test = 1\nminutes = -5",
                "course.toml:17:11: ключ «minutes» должен быть числом от 1 до 600"},
        BadFile{"drawZero", "test = 1", "test = 1\ndraw = 0",
                "course.toml:17:8: ключ «draw» должен быть числом от 1 до 100000"},
        BadFile{"shuffleNotBool", "test = 1", "test = 1\nshuffle_answers = \"yes\"",
                "course.toml:17:19: ключ «shuffle_answers» должен быть true или false"},
        BadFile{"unknownReview", "test = 1", "test = 1\nreview = \"later\"",
                "course.toml:17:10: неизвестный review «later»; есть «none» и «after»"},
        BadFile{"settingOnDocument", "document = \"l1.htm\"", "document = \"l1.htm\"\ndraw = 3",
                "course.toml:14:8: ключ «draw» бывает только у теста"},
        BadFile{"shownMoreThanSlots", "help = \"help.htm\"",
                "help = \"help.htm\"\ngrade_slots = 4\nshown_tests = 5",
                "course.toml:6:15: shown_tests = 5 больше grade_slots (4)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CourseFile, GivesDefaultsAndMadeUpNames) {
    const QByteArray text = QByteArray(kBase) + R"(
[[menu]]
caption = "Ещё"
before_sign_in = true

[[menu.item]]
caption = "Рисунок"
document = "l1.htm"
icon = "img/pic.png"
after_test = 1

[[menu.item]]
command = "back"
)";
    const auto reading = readCourseFile(text, inFolder);
    ASSERT_TRUE(reading.problems.empty()) << reading.problems.front().line().toStdString();
    const velmora::CourseBook& course = reading.course;
    EXPECT_EQ(course.passGrade, 3);
    EXPECT_EQ(course.gradeSlots, 12);
    EXPECT_EQ(course.shownTests, 1);
    ASSERT_EQ(course.menus.size(), 2U);
    EXPECT_FALSE(course.menus[0].beforeSignIn);
    EXPECT_TRUE(course.menus[1].beforeSignIn);
    EXPECT_EQ(course.menus[1].name, QStringLiteral("menu2"));
    const velmora::CourseItem& test = course.menus[0].items[1];
    EXPECT_EQ(test.kind, CourseItemKind::Test);
    EXPECT_EQ(test.name, QStringLiteral("test1"));
    EXPECT_EQ(test.caption, QStringLiteral("Тестирование №1"));
    EXPECT_EQ(test.icon, QStringLiteral(":/icons/test.svg"));
    const velmora::CourseItem& picture = course.menus[1].items[0];
    EXPECT_EQ(picture.name, QStringLiteral("menu2_item1"));
    EXPECT_EQ(picture.icon, QStringLiteral("img/pic.png"));
    EXPECT_EQ(picture.afterTest, 1);
    const velmora::CourseItem& back = course.menus[1].items[1];
    EXPECT_EQ(back.kind, CourseItemKind::Command);
    EXPECT_EQ(back.name, QStringLiteral("N17"));
    EXPECT_EQ(back.caption, QStringLiteral("Назад"));
    EXPECT_EQ(back.icon, QStringLiteral(":/icons/back.svg"));
    EXPECT_EQ(course.item(QStringLiteral("L1"))->icon, QString());
}

TEST(CourseFile, ReadsTestSettingsAndChecksTheDrawAgainstTheBuiltFile) {
    const QByteArray text = changed(
        "test = 1", "test = 1\ndraw = 5\nshuffle_answers = true\nminutes = 1\nreview = \"after\"");
    const auto fiveHeld = [](int test) { return test == 1 ? std::optional<int>(5) : std::nullopt; };
    const auto reading = readCourseFile(text, inFolder, fiveHeld);
    ASSERT_FALSE(reading.hasErrors()) << reading.firstError().toStdString();
    const velmora::TestSettings settings = reading.course.testSettings(1);
    EXPECT_EQ(settings.draw, 5);
    EXPECT_TRUE(settings.shuffleAnswers);
    EXPECT_EQ(settings.minutes, 1);
    EXPECT_EQ(settings.review, velmora::TestSettings::Review::After);
    EXPECT_FALSE(settings.isPlain());
    // Without settings a test is plain; an unknown test too.
    EXPECT_TRUE(readCourseFile(kBase, inFolder).course.testSettings(1).isPlain());
    EXPECT_TRUE(reading.course.testSettings(7).isPlain());

    const auto fourHeld = [](int) { return std::optional<int>(4); };
    EXPECT_EQ(readCourseFile(text, inFolder, fourHeld).firstError(),
              QStringLiteral("course.toml:17:8: draw = 5 больше вопросов файла теста №1 (4)"));
    // A file that cannot be read is not judged here: the missing file is its own warning.
    const auto unreadable = [](int) { return std::optional<int>(); };
    EXPECT_FALSE(readCourseFile(text, inFolder, unreadable).hasErrors());
}

TEST(CourseFile, TestWithoutItsFileIsOnlyAWarning) {
    const auto reading = readCourseFile(changed("test = 1", "test = 2"), inFolder);
    EXPECT_FALSE(reading.hasErrors());
    ASSERT_EQ(reading.problems.size(), 1U);
    EXPECT_EQ(reading.problems[0].severity, CourseProblem::Severity::Warning);
    EXPECT_EQ(reading.problems[0].line(),
              QStringLiteral("course.toml:15:1: нет файла теста «data/tests/test2.ini»: тест ещё "
                             "не собран"));
}

} // namespace
