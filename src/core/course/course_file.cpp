// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/course/course_file.h"

#include "core/course/program_icons.h"
#include "core/storage/data_path.h"

#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <initializer_list>
#include <optional>
#include <string_view>
#include <toml++/toml.h>

namespace velmora {
namespace {

using Severity = CourseProblem::Severity;

constexpr int kHighestTestNumber = 99;
constexpr int kHighestGrade = 5;
// The longest time limit a test may have: a school day.
constexpr int kLongestMinutes = 600;
// More questions than any test file holds; a draw above the file's own count is refused where the
// file can be read.
constexpr int kLargestDraw = 100000;
// The keys only a test item has.
constexpr std::string_view kTestSettingKeys[] = {"draw", "shuffle_answers", "minutes", "review"};

// The object names of the program's own menus and items, which follow the course's menus: a
// course name may not take one of them.
constexpr QStringView kProgramNames[] = {
    u"Nadm", u"Ni",  u"notch", u"N30", u"Ntun",    u"nred", u"njournal", u"NaFormuAvtorizazii",
    u"N21",  u"N26", u"N27",   u"N15", u"NSearch", u"Ne",
};

QString quoted(std::string_view text) {
    return QStringLiteral("«%1»").arg(QString::fromUtf8(text.data(), qsizetype(text.size())));
}

QString quoted(const QString& text) {
    return QStringLiteral("«%1»").arg(text);
}

SourcePlace placeOf(const toml::source_region& region) {
    if (region.begin.line == 0) {
        return {1, 1};
    }
    return {int(region.begin.line), int(region.begin.column)};
}

bool isProgramIcon(const QString& name) {
    return std::any_of(std::begin(kProgramIconNames), std::end(kProgramIconNames),
                       [&](QStringView icon) { return icon == name; });
}

bool isProgramName(const QString& name) {
    return std::any_of(std::begin(kProgramNames), std::end(kProgramNames), [&](QStringView own) {
        return own.compare(name, Qt::CaseInsensitive) == 0;
    });
}

// A path inside the course folder, written with "/": no drive, no root, no "..".
bool isCoursePath(const QString& path) {
    if (path.isEmpty() || path.startsWith(QLatin1Char('/')) || path.contains(QLatin1Char('\\')) ||
        path.contains(QLatin1Char(':'))) {
        return false;
    }
    const QStringList parts = path.split(QLatin1Char('/'));
    return std::none_of(parts.begin(), parts.end(), [](const QString& part) {
        return part.isEmpty() || part == QStringLiteral("..") || part == QStringLiteral(".");
    });
}

bool isCourseId(const QString& id) {
    return !id.isEmpty() && std::all_of(id.begin(), id.end(), [](QChar c) {
        return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
               (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
               (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('-');
    });
}

// An item's after_test, checked once every test of the course is known.
struct PendingAfterTest {
    const CourseItem* item;
    SourcePlace place;
};

class CourseFileReader {
public:
    CourseFileReader(const std::function<bool(const QString&)>& exists,
                     const QuestionCount& questions)
        : exists_(exists), questions_(questions) {}

    CourseFileReading read(const QByteArray& text);

private:
    void problem(Severity severity, SourcePlace place, const QString& text) {
        reading_.problems.push_back({severity, QString(kCourseFileName), place, text});
    }
    void error(SourcePlace place, const QString& text) { problem(Severity::Error, place, text); }

    void checkKeys(const toml::table& table, std::initializer_list<std::string_view> known);
    const toml::node* required(const toml::table& table, std::string_view key);
    std::optional<QString> string(const toml::table& table, std::string_view key,
                                  bool mandatory = false);
    std::optional<int> integer(const toml::table& table, std::string_view key, int lowest,
                               int highest);
    std::optional<bool> boolean(const toml::table& table, std::string_view key);
    // A path in the course folder naming a file that must be there.
    QString courseFile(const toml::table& table, std::string_view key, bool mandatory);
    QString icon(const toml::table& table);
    // A caption given as "" (or spaces only) shows nothing to choose.
    void checkNotEmpty(const toml::table& table, std::string_view key, const QString& value) {
        const toml::node* node = table.get(key);
        if (node != nullptr && node->is_string() && value.trimmed().isEmpty()) {
            error(placeOf(node->source()),
                  QStringLiteral("ключ %1 не может быть пустым").arg(quoted(key)));
        }
    }
    void takeName(QString& name, SourcePlace place);

    void readCourse(const toml::table& root);
    void readTitlePage(const toml::table& root);
    void readMenus(const toml::table& root);
    void readMenu(const toml::table& table, int position);
    void readItem(const toml::table& table, CourseMenu& menu, int position);
    void readTestSettings(const toml::table& table, CourseItem& item);
    std::optional<TestSettings::Review> review(const toml::table& table);
    void checkCounts(const toml::table& root);
    void checkAfterTests();

    const std::function<bool(const QString&)>& exists_;
    const QuestionCount& questions_;
    CourseFileReading reading_;
    // Every name taken so far, in lower case, with where it was taken.
    QHash<QString, SourcePlace> names_;
    std::vector<std::pair<int, SourcePlace>> afterTests_; // per item, in item order
};

void CourseFileReader::checkKeys(const toml::table& table,
                                 std::initializer_list<std::string_view> known) {
    for (auto&& [key, node] : table) {
        if (std::find(known.begin(), known.end(), key.str()) == known.end()) {
            error(placeOf(key.source()),
                  QStringLiteral("неизвестный ключ %1").arg(quoted(key.str())));
        }
    }
}

const toml::node* CourseFileReader::required(const toml::table& table, std::string_view key) {
    const toml::node* node = table.get(key);
    if (node == nullptr) {
        error(placeOf(table.source()),
              QStringLiteral("нет обязательного ключа %1").arg(quoted(key)));
    }
    return node;
}

std::optional<QString> CourseFileReader::string(const toml::table& table, std::string_view key,
                                                bool mandatory) {
    const toml::node* node = mandatory ? required(table, key) : table.get(key);
    if (node == nullptr) {
        return std::nullopt;
    }
    if (const auto* value = node->as_string()) {
        const std::string& text = value->get();
        return QString::fromUtf8(text.data(), qsizetype(text.size()));
    }
    error(placeOf(node->source()), QStringLiteral("ключ %1 должен быть строкой").arg(quoted(key)));
    return std::nullopt;
}

std::optional<int> CourseFileReader::integer(const toml::table& table, std::string_view key,
                                             int lowest, int highest) {
    const toml::node* node = table.get(key);
    if (node == nullptr) {
        return std::nullopt;
    }
    const auto* value = node->as_integer();
    if (value == nullptr) {
        error(placeOf(node->source()),
              QStringLiteral("ключ %1 должен быть целым числом").arg(quoted(key)));
        return std::nullopt;
    }
    if (value->get() < lowest || value->get() > highest) {
        error(placeOf(node->source()), QStringLiteral("ключ %1 должен быть числом от %2 до %3")
                                           .arg(quoted(key))
                                           .arg(lowest)
                                           .arg(highest));
        return std::nullopt;
    }
    return int(value->get());
}

std::optional<bool> CourseFileReader::boolean(const toml::table& table, std::string_view key) {
    const toml::node* node = table.get(key);
    if (node == nullptr) {
        return std::nullopt;
    }
    if (const auto* value = node->as_boolean()) {
        return value->get();
    }
    error(placeOf(node->source()),
          QStringLiteral("ключ %1 должен быть true или false").arg(quoted(key)));
    return std::nullopt;
}

QString CourseFileReader::courseFile(const toml::table& table, std::string_view key,
                                     bool mandatory) {
    const std::optional<QString> path = string(table, key, mandatory);
    if (!path || (path->isEmpty() && !mandatory)) {
        return {};
    }
    const SourcePlace place = placeOf(table.get(key)->source());
    if (!isCoursePath(*path)) {
        error(place, QStringLiteral("путь %1 должен вести внутрь папки курса и писаться через «/»")
                         .arg(quoted(*path)));
        return {};
    }
    if (!exists_(*path)) {
        error(place, QStringLiteral("нет файла %1").arg(quoted(*path)));
    }
    return *path;
}

QString CourseFileReader::icon(const toml::table& table) {
    const std::optional<QString> name = string(table, "icon");
    if (!name || name->isEmpty()) {
        return {};
    }
    if (name->contains(QLatin1Char('.'))) {
        return courseFile(table, "icon", false);
    }
    if (!isProgramIcon(*name)) {
        QStringList known;
        for (QStringView icon : kProgramIconNames) {
            known.append(icon.toString());
        }
        error(placeOf(table.get("icon")->source()),
              QStringLiteral("у программы нет значка %1; есть: %2")
                  .arg(quoted(*name), known.join(QStringLiteral(", "))));
        return {};
    }
    return QStringLiteral(":/icons/%1.svg").arg(*name);
}

void CourseFileReader::takeName(QString& name, SourcePlace place) {
    const QString folded = name.toLower();
    if (name.trimmed().isEmpty()) {
        error(place, QStringLiteral("имя не может быть пустым"));
        return;
    }
    if (isProgramName(name)) {
        error(place, QStringLiteral("имя %1 занято меню программы").arg(quoted(name)));
        return;
    }
    const auto taken = names_.constFind(folded);
    if (taken != names_.cend()) {
        error(place,
              QStringLiteral("имя %1 уже есть в строке %2").arg(quoted(name)).arg(taken->line));
        return;
    }
    names_.insert(folded, place);
}

void CourseFileReader::readCourse(const toml::table& root) {
    const toml::node* node = required(root, "course");
    if (node == nullptr) {
        return;
    }
    const toml::table* table = node->as_table();
    if (table == nullptr) {
        error(placeOf(node->source()), QStringLiteral("«course» должен быть таблицей [course]"));
        return;
    }
    checkKeys(*table, {"id", "caption", "help", "pass_grade", "grade_slots", "shown_tests"});
    CourseBook& course = reading_.course;
    if (const auto id = string(*table, "id", true)) {
        course.id = *id;
        if (!isCourseId(*id)) {
            error(placeOf(table->get("id")->source()),
                  QStringLiteral("недопустимый id %1: только латинские буквы, цифры и «-»")
                      .arg(quoted(*id)));
        } else if (id->compare(reservedCourseId(), Qt::CaseInsensitive) == 0) {
            // The launcher keeps the shipped course's copy in the user's folder of this name.
            error(placeOf(table->get("id")->source()),
                  QStringLiteral("id %1 занят: так называется папка курса, который поставляется "
                                 "с программой")
                      .arg(quoted(*id)));
        }
    }
    course.caption = string(*table, "caption", true).value_or(QString());
    course.help = courseFile(*table, "help", true);
    course.passGrade = integer(*table, "pass_grade", 1, kHighestGrade).value_or(course.passGrade);
}

void CourseFileReader::readTitlePage(const toml::table& root) {
    const toml::node* node = root.get("title_page");
    if (node == nullptr) {
        return;
    }
    const toml::table* table = node->as_table();
    if (table == nullptr) {
        error(placeOf(node->source()),
              QStringLiteral("«title_page» должен быть таблицей [title_page]"));
        return;
    }
    checkKeys(*table, {"institution", "department", "kind", "title", "subject", "author", "post",
                       "programme_code", "speciality", "place_and_year", "emblem", "emblem_text",
                       "cover", "portrait"});
    CourseTitlePage& page = reading_.course.titlePage;
    const std::pair<std::string_view, QString*> texts[] = {
        {"institution", &page.institution},
        {"department", &page.department},
        {"kind", &page.kind},
        {"title", &page.title},
        {"subject", &page.subject},
        {"author", &page.author},
        {"post", &page.post},
        {"programme_code", &page.programmeCode},
        {"speciality", &page.speciality},
        {"place_and_year", &page.placeAndYear},
        {"emblem_text", &page.emblemText},
    };
    for (const auto& [key, field] : texts) {
        *field = string(*table, key).value_or(QString());
    }
    page.emblem = courseFile(*table, "emblem", false);
    page.cover = courseFile(*table, "cover", false);
    page.portrait = courseFile(*table, "portrait", false);
}

void CourseFileReader::readMenus(const toml::table& root) {
    const toml::node* node = required(root, "menu");
    if (node == nullptr) {
        return;
    }
    const toml::array* menus = node->as_array();
    if (menus == nullptr || !menus->is_array_of_tables() || menus->empty()) {
        error(placeOf(node->source()), QStringLiteral("меню курса пишутся как [[menu]]"));
        return;
    }
    int position = 0;
    for (const toml::node& menu : *menus) {
        readMenu(*menu.as_table(), ++position);
    }
}

void CourseFileReader::readMenu(const toml::table& table, int position) {
    checkKeys(table, {"name", "caption", "before_sign_in", "item"});
    CourseMenu menu;
    menu.place = placeOf(table.source());
    menu.name = string(table, "name").value_or(QStringLiteral("menu%1").arg(position));
    takeName(menu.name, table.get("name") ? placeOf(table.get("name")->source()) : menu.place);
    menu.caption = string(table, "caption", true).value_or(QString());
    checkNotEmpty(table, "caption", menu.caption);
    menu.beforeSignIn = boolean(table, "before_sign_in").value_or(false);
    const toml::node* node = table.get("item");
    const toml::array* items = node != nullptr ? node->as_array() : nullptr;
    if (node != nullptr && (items == nullptr || !items->is_array_of_tables())) {
        error(placeOf(node->source()), QStringLiteral("пункты меню пишутся как [[menu.item]]"));
        items = nullptr;
    }
    reading_.course.menus.push_back(std::move(menu));
    if (items != nullptr) {
        int itemPosition = 0;
        for (const toml::node& item : *items) {
            readItem(*item.as_table(), reading_.course.menus.back(), ++itemPosition);
        }
    }
}

void CourseFileReader::readItem(const toml::table& table, CourseMenu& menu, int position) {
    checkKeys(table, {"name", "caption", "document", "test", "command", "icon", "after_test",
                      "draw", "shuffle_answers", "minutes", "review"});
    CourseItem item;
    item.place = placeOf(table.source());
    const int kinds = int(table.contains("document")) + int(table.contains("test")) +
                      int(table.contains("command"));
    QString name = QStringLiteral("%1_item%2").arg(menu.name).arg(position);
    QString caption;
    if (kinds != 1) {
        error(item.place, QStringLiteral("у пункта должен быть ровно один из ключей «document», "
                                         "«test» и «command»"));
    } else if (table.contains("test")) {
        item.kind = CourseItemKind::Test;
        item.test = integer(table, "test", 1, kHighestTestNumber).value_or(0);
        name = QStringLiteral("test%1").arg(item.test);
        caption = QStringLiteral("Тестирование №%1").arg(item.test);
        item.icon = QStringLiteral(":/icons/test.svg");
        if (item.test > 0) {
            const QString file = QStringLiteral("data/tests/test%1.ini").arg(item.test);
            if (!exists_(file)) {
                problem(Severity::Warning, item.place,
                        QStringLiteral("нет файла теста %1: тест ещё не собран").arg(quoted(file)));
            }
        }
        readTestSettings(table, item);
    } else if (table.contains("command")) {
        item.kind = CourseItemKind::Command;
        const QString command = string(table, "command").value_or(QString());
        if (command == QStringLiteral("back")) {
            item.command = CourseCommand::Back;
            name = QStringLiteral("N17");
            caption = QStringLiteral("Назад");
            item.icon = QStringLiteral(":/icons/back.svg");
        } else if (table.get("command")->is_string()) {
            error(
                placeOf(table.get("command")->source()),
                QStringLiteral("неизвестная команда %1; есть только «back»").arg(quoted(command)));
        }
    } else {
        item.kind = CourseItemKind::Document;
        item.document = courseFile(table, "document", true);
    }
    if (item.kind != CourseItemKind::Test && !table.contains("test")) {
        for (const std::string_view key : kTestSettingKeys) {
            if (const toml::node* node = table.get(key)) {
                error(placeOf(node->source()),
                      QStringLiteral("ключ %1 бывает только у теста").arg(quoted(key)));
            }
        }
    }
    item.name = string(table, "name").value_or(name);
    takeName(item.name, table.get("name") ? placeOf(table.get("name")->source()) : item.place);
    // A command's caption is the program's; a test's is made up from its number.
    const bool captionNeeded = kinds == 1 && item.kind == CourseItemKind::Document;
    item.caption = string(table, "caption", captionNeeded).value_or(caption);
    checkNotEmpty(table, "caption", item.caption);
    if (table.contains("icon")) {
        item.icon = icon(table);
    }
    item.afterTest = integer(table, "after_test", 1, kHighestTestNumber).value_or(0);
    afterTests_.emplace_back(item.afterTest, table.get("after_test")
                                                 ? placeOf(table.get("after_test")->source())
                                                 : item.place);
    menu.items.push_back(std::move(item));
}

std::optional<TestSettings::Review> CourseFileReader::review(const toml::table& table) {
    const std::optional<QString> text = string(table, "review");
    if (!text) {
        return std::nullopt;
    }
    if (*text == QStringLiteral("none")) {
        return TestSettings::Review::None;
    }
    if (*text == QStringLiteral("after")) {
        return TestSettings::Review::After;
    }
    error(placeOf(table.get("review")->source()),
          QStringLiteral("неизвестный review %1; есть «none» и «after»").arg(quoted(*text)));
    return std::nullopt;
}

void CourseFileReader::readTestSettings(const toml::table& table, CourseItem& item) {
    TestSettings& settings = item.settings;
    settings.draw = integer(table, "draw", 1, kLargestDraw).value_or(0);
    settings.shuffleAnswers = boolean(table, "shuffle_answers").value_or(false);
    settings.minutes = integer(table, "minutes", 1, kLongestMinutes).value_or(0);
    settings.review = review(table).value_or(TestSettings::Review::None);
    if (settings.draw == 0 || item.test == 0 || !questions_) {
        return;
    }
    const std::optional<int> held = questions_(item.test);
    if (held && settings.draw > *held) {
        error(placeOf(table.get("draw")->source()),
              QStringLiteral("draw = %1 больше вопросов файла теста №%2 (%3)")
                  .arg(settings.draw)
                  .arg(item.test)
                  .arg(*held));
    }
}

void CourseFileReader::checkCounts(const toml::table& root) {
    CourseBook& course = reading_.course;
    const int highest = course.highestTest();
    const toml::table* table = root.get("course") ? root.get("course")->as_table() : nullptr;
    if (table == nullptr) {
        return;
    }
    course.gradeSlots =
        integer(*table, "grade_slots", 1, kHighestTestNumber).value_or(course.gradeSlots);
    if (course.gradeSlots < highest) {
        const toml::node* node = table->get("grade_slots");
        error(placeOf(node ? node->source() : table->source()),
              QStringLiteral("grade_slots = %1 меньше наибольшего номера теста курса (%2)")
                  .arg(course.gradeSlots)
                  .arg(highest));
    }
    const std::optional<int> shown = integer(*table, "shown_tests", 0, kHighestTestNumber);
    course.shownTests = std::min(shown.value_or(highest), course.gradeSlots);
    if (shown && *shown > course.gradeSlots) {
        error(placeOf(table->get("shown_tests")->source()),
              QStringLiteral("shown_tests = %1 больше grade_slots (%2)")
                  .arg(*shown)
                  .arg(course.gradeSlots));
    }
}

void CourseFileReader::checkAfterTests() {
    const std::vector<const CourseItem*> items = reading_.course.items();
    QList<int> tests;
    for (const CourseItem* item : items) {
        if (item->kind == CourseItemKind::Test) {
            tests.append(item->test);
        }
    }
    for (size_t i = 0; i < items.size() && i < afterTests_.size(); ++i) {
        const auto& [after, place] = afterTests_[i];
        if (after == 0) {
            continue;
        }
        if (items[i]->kind == CourseItemKind::Test && items[i]->test == after) {
            error(place,
                  QStringLiteral("after_test = %1: пункт ждёт собственного теста").arg(after));
        } else if (!tests.contains(after)) {
            error(place, QStringLiteral("after_test = %1: в курсе нет теста №%1").arg(after));
        }
    }
}

CourseFileReading CourseFileReader::read(const QByteArray& text) {
    toml::table root;
    try {
        root = toml::parse(std::string_view(text.constData(), size_t(text.size())));
    } catch (const toml::parse_error& e) {
        error(placeOf(e.source()), QStringLiteral("ошибка в записи TOML: %1")
                                       .arg(QString::fromUtf8(e.description().data(),
                                                              qsizetype(e.description().size()))));
        return std::move(reading_);
    }
    checkKeys(root, {"course", "title_page", "menu"});
    readCourse(root);
    readTitlePage(root);
    readMenus(root);
    checkCounts(root);
    checkAfterTests();
    return std::move(reading_);
}

} // namespace

QString CourseProblem::line() const {
    if (place.line == 0) {
        return QStringLiteral("%1: %2").arg(file, text);
    }
    return QStringLiteral("%1:%2:%3: %4").arg(file).arg(place.line).arg(place.column).arg(text);
}

bool CourseFileReading::hasErrors() const {
    return std::any_of(problems.begin(), problems.end(),
                       [](const CourseProblem& p) { return p.isError(); });
}

QString CourseFileReading::firstError() const {
    for (const CourseProblem& p : problems) {
        if (p.isError()) {
            return p.line();
        }
    }
    return {};
}

CourseFileReading readCourseFile(const QByteArray& text,
                                 const std::function<bool(const QString&)>& exists,
                                 const QuestionCount& questions) {
    return CourseFileReader(exists, questions).read(text);
}

bool courseFileExists(const QString& folder, const QString& relative) {
    return QFileInfo(matchLetterCase(folder + QLatin1Char('/') + relative)).isFile();
}

} // namespace velmora
