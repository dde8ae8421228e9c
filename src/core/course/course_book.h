// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <vector>

namespace velmora {

// What choosing a course item does.
enum class CourseItemKind {
    Document, // shows its document on the document screen
    Test,     // starts test `test` (the file data/tests/testN.ini)
    Command,  // runs one of the program's own commands
};

// The program's own commands a course may place in its menus.
enum class CourseCommand {
    Back, // "Назад": leaves the administrator screen for the document screen
};

// Where an entry stands in course.toml, for messages about it; 0 when it came from no file.
struct SourcePlace {
    int line = 0;
    int column = 0;
};

// How a test item asks its test. Every setting is off by default: then every question of the file
// is asked in file order, answers in file order, without a time limit, and the grade alone is
// shown.
struct TestSettings {
    enum class Review { None, After };

    int draw = 0;                // questions drawn at random from the file's; 0: every question
    bool shuffleAnswers = false; // each question's answers in an order of their own
    int minutes = 0;             // the time limit; 0: none
    Review review = Review::None;

    // Whether the test runs as it always has: no setting is on.
    bool isPlain() const {
        return draw == 0 && !shuffleAnswers && minutes == 0 && review == Review::None;
    }
    friend bool operator==(const TestSettings&, const TestSettings&) = default;
};

// One item of a course menu.
struct CourseItem {
    QString name;    // the Qt object name of its menu action ("N2", "test1")
    QString caption; // as the menu shows it
    CourseItemKind kind = CourseItemKind::Document;
    QString document; // Document: a path in the course folder with "/" ("data/info/lig-1.html")
    int test = 0;     // Test: its number N
    TestSettings settings; // Test: how it is asked
    CourseCommand command = CourseCommand::Back;
    // A program icon (":/icons/lecture.svg") or a picture path in the course folder with "/";
    // empty for none.
    QString icon;
    int afterTest = 0; // enabled only once test `afterTest` is passed; 0: always enabled
    SourcePlace place;
};

// One menu of the course, in menu-bar order.
struct CourseMenu {
    QString name;    // the Qt object name of the menu ("N0")
    QString caption; // "Дәрістер және тестілеу"
    // Shown on the sign-in screen too, before anybody has signed in.
    bool beforeSignIn = false;
    std::vector<CourseItem> items;
    SourcePlace place;

    // Whether one of its items is a test: such a menu is hidden while a test runs.
    bool holdsTest() const;
};

// The course's own texts and pictures of the title page and the two about windows. Pictures are
// paths in the course folder with "/".
struct CourseTitlePage {
    QString institution;   // "«Жетіқұм» техникалық университеті"
    QString department;    // "Ақпараттық жүйелер кафедрасы"
    QString kind;          // "Электронды әдістемелік кұрал"
    QString title;         // "Velmora"
    QString subject;       // the about window's second line: "Velmora пәнінен"
    QString author;        // "Д. Велморқызы"
    QString post;          // "аға оқытушы"
    QString programmeCode; // "6В0699"
    QString speciality; // "Ақпараттық жүйелер мамандығына арналған"
    QString placeAndYear; // "Жетіқұм – 2024"
    QString emblem;       // the title page's picture
    QString emblemText;   // its accessible name: "Velmora эмблемасы"
    QString cover;        // the about-program window's picture
    QString portrait;     // the about-author window's picture
};

// The id no course may take: the launcher keeps the user's copy of the shipped course in a folder
// of this name, beside the copies of installed courses named by their ids.
inline QString reservedCourseId() {
    return QStringLiteral("course");
}

// A course book as its course.toml describes it: the program shows whatever course it is given.
struct CourseBook {
    QString folder;  // the course folder it was read for, absolute
    QString id;      // letters, digits and "-": names the course's folders and packages
    QString caption; // the main window's caption
    QString help; // the document of "Көмек" → "Көмек", a path in the course folder with "/"
    int passGrade = 3;
    int gradeSlots = 12; // keys "test1" … "testN" of a student's register section
    int shownTests = 0;  // the progress screen's rows: tests 1 … shownTests
    CourseTitlePage titlePage;
    std::vector<CourseMenu> menus;

    // The highest test number any item names; 0 for a course without tests.
    int highestTest() const;
    // Every item of every menu, in menu order.
    std::vector<const CourseItem*> items() const;
    // The item or nullptr; names are compared whatever their letter case.
    const CourseItem* item(const QString& name) const;
    // The settings of test `test`: those of its first item; the plain ones for a test no item
    // names.
    TestSettings testSettings(int test) const;
    // Whether `grade` passes a test of this course.
    bool passes(int grade) const { return grade >= passGrade; }

    // The absolute path of a file of the course folder given with "/" ("data/info/lig-1.html"),
    // letter case matched as the program matches data files.
    QString path(const QString& relative) const;

    // The course of `folder`: its course.toml, or the shipped course when it has none. Throws
    // Failure with "course.toml:LINE:COLUMN: problem" at the file's first error.
    static CourseBook read(const QString& folder);
    // The text of the shipped course's course.toml, built into the program.
    static QByteArray builtInText();

    // The course of the program folder (the current directory): its course.toml, or the shipped
    // course for a folder without one. Read once per folder and file state; throws Failure with
    // "course.toml:LINE:COLUMN: problem" when the file cannot serve.
    static const CourseBook& current();
};

} // namespace velmora
