// SPDX-License-Identifier: GPL-3.0-or-later
// The teacher's group journal after students took tests through the main window: the grades, the
// attempts, the chart, the CSV file, and the question statistics from the answer log.

#include "core/access/group_journal.h"
#include "core/access/journal_table.h"
#include "core/storage/code_page.h"
#include "gui/kit/message_boxes.h"
#include "gui/windows/grade_chart.h"
#include "gui/windows/group_journal_window.h"
#include "gui/windows/journal_grades_model.h"
#include "gui/windows/totals_histogram.h"
#include "support/course_driver.h"
#include "support/fixed_save_chooser.h"
#include "support/test_file_builder.h"

#include <QColor>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;
using namespace Qt::StringLiterals;

namespace {

const QString kDash = u"—"_s;

// Every text of a model, header first, as the journal shows it.
QList<QStringList> shownTable(const QAbstractItemModel& model) {
    QList<QStringList> table{{}};
    for (int column = 0; column < model.columnCount(); ++column) {
        table[0].append(model.headerData(column, Qt::Horizontal).toString());
    }
    for (int row = 0; row < model.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model.columnCount(); ++column) {
            cells.append(model.index(row, column).data().toString());
        }
        table.append(cells);
    }
    return table;
}

QList<QStringList> questionRows(const QTableWidget& table) {
    QList<QStringList> rows;
    for (int row = 0; row < table.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < table.columnCount(); ++column) {
            cells.append(table.item(row, column)->text());
        }
        rows.append(cells);
    }
    return rows;
}

// Test 1 has three questions (correct A, B, C), test 2 two (A, B). Айгүл takes test 1 twice
// (grade 2, then 5) and test 2 once (3); Бекзат takes test 1 once (2).
class JournalFlow : public ::testing::Test {
protected:
    JournalFlow() {
        writeTestFile(u"test1"_s, numberedQuestions({1, 2, 3}), u"3"_s);
        writeTestFile(u"test2"_s, numberedQuestions({1, 2}), u"2"_s);
        course.start();
        course.registerStudent(u"Айгүл"_s, u"pw"_s);
        course.registerStudent(u"Бекзат"_s, u"pw"_s);
        course.forgetBoxes();
    }

    void takeTest(int test, const QList<int>& answers) const {
        course.startTest(test);
        course.answer(answers);
        course.leaveProgress();
    }

    void studentsTakeTests() const {
        course.signIn(u"Айгүл"_s, u"pw"_s);
        takeTest(1, {1, 1, 1});
        takeTest(1, {1, 2, 3});
        takeTest(2, {1, 1});
        course.choose("NaFormuAvtorizazii");
        course.signIn(u"Бекзат"_s, u"pw"_s);
        takeTest(1, {2, 2, 2});
        course.choose("NaFormuAvtorizazii");
    }

    GroupJournalWindow& openJournal() const {
        course.signIn(u"admin"_s, u"admin"_s);
        course.choose("njournal");
        auto* journal = findIn<GroupJournalWindow>(course.window(), "JournalForm");
        EXPECT_NE(journal, nullptr);
        EXPECT_TRUE(journal->isVisible());
        return *journal;
    }

    CourseDriver course;
};

TEST_F(JournalFlow, ShowsEveryStudentsGradesAttemptsMeansAndTheChart) {
    studentsTakeTests();
    const GroupJournalWindow& journal = openJournal();
    EXPECT_EQ(journal.windowTitle(), u"Журнал группы"_s);
    EXPECT_EQ(shownTable(*qobject_cast<QSortFilterProxyModel*>(
                  findIn<QTableView>(journal, "grades")->model())),
              (QList<QStringList>{{u"Студент"_s, u"Тест 1"_s, u"Тест 2"_s, u"Средний балл"_s},
                                  {u"Айгүл"_s, u"5"_s, u"3"_s, u"4,00"_s},
                                  {u"Бекзат"_s, u"2"_s, kDash, u"2,00"_s}}));
    const QAbstractItemModel& shown =
        *qobject_cast<QSortFilterProxyModel*>(findIn<QTableView>(journal, "grades")->model());
    EXPECT_TRUE(shown.index(0, 1).data(Qt::ToolTipRole).toString().startsWith(u"Попыток: 2\n"_s));
    EXPECT_TRUE(shown.index(1, 1).data(Qt::ToolTipRole).toString().startsWith(u"Попыток: 1\n"_s));
    EXPECT_TRUE(shown.index(1, 2).data(Qt::ToolTipRole).toString().startsWith(u"Не сдавал"_s));
    // Light red, yellow, green; nothing for a test not taken.
    EXPECT_EQ(shown.index(1, 1).data(Qt::BackgroundRole), QVariant(QColor(0xff, 0xcd, 0xd2)));
    EXPECT_EQ(shown.index(0, 2).data(Qt::BackgroundRole), QVariant(QColor(0xff, 0xf5, 0x9d)));
    EXPECT_EQ(shown.index(0, 1).data(Qt::BackgroundRole), QVariant(QColor(0xc8, 0xe6, 0xc9)));
    EXPECT_FALSE(shown.index(1, 2).data(Qt::BackgroundRole).isValid());
    EXPECT_TRUE(findIn<QLabel>(journal, "notes")->isHidden())
        << findIn<QLabel>(journal, "notes")->text().toStdString();
    EXPECT_EQ(findIn<QTableWidget>(journal, "summary")->item(0, 0)->text(), u"2"_s);
    EXPECT_EQ(findIn<QTableWidget>(journal, "summary")->item(1, 0)->text(), u"3,50"_s);
    EXPECT_EQ(findIn<QTableWidget>(journal, "summary")->item(2, 0)->text(), u"50 %"_s);
    // The summary is the table velmora-admin journal prints under its own, cell for cell.
    const QTableWidget& summary = *findIn<QTableWidget>(journal, "summary");
    QList<QStringList> shownSummary{{QString()}};
    for (int column = 0; column < summary.columnCount(); ++column) {
        shownSummary[0].append(summary.horizontalHeaderItem(column)->text());
    }
    for (int row = 0; row < summary.rowCount(); ++row) {
        QStringList cells{summary.verticalHeaderItem(row)->text()};
        for (int column = 0; column < summary.columnCount(); ++column) {
            cells.append(summary.item(row, column)->text());
        }
        shownSummary.append(cells);
    }
    const JournalTable printed = JournalTable::summaryOf(GroupJournal::read(u"report.txt"_s));
    EXPECT_EQ(shownSummary, QList<QStringList>{printed.header()} + printed.rows());
    EXPECT_EQ(shownSummary.size(), 4);

    // Test 1's chart is shown first; a click in test 2's column shows test 2's.
    EXPECT_EQ(findIn<GradeChart>(journal, QString())->counts(),
              (std::array<int, 6>{0, 0, 1, 0, 0, 1}));
    QTableView& view = *findIn<QTableView>(journal, "grades");
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {},
                      view.visualRect(shown.index(0, 2)).center());
    EXPECT_EQ(findIn<GradeChart>(journal, QString())->counts(),
              (std::array<int, 6>{0, 0, 0, 1, 0, 0}));
    EXPECT_EQ(findIn<GradeChart>(journal, QString())->caption(), u"Тест 2: оценки"_s);

    // Sorting by the mean, then the filter on the name.
    view.sortByColumn(3, Qt::AscendingOrder);
    EXPECT_EQ(shown.index(0, 0).data().toString(), u"Бекзат"_s);
    findIn<QLineEdit>(journal, "filter")->insert(u"айг"_s);
    ASSERT_EQ(shown.rowCount(), 1);
    EXPECT_EQ(shown.index(0, 0).data().toString(), u"Айгүл"_s);
    EXPECT_TRUE(course.boxes().isEmpty()) << course.boxTexts().join(u'\n').toStdString();
}

TEST_F(JournalFlow, TheSavedCsvReadsBackAsTheSameTable) {
    studentsTakeTests();
    GroupJournalWindow& journal = openJournal();
    const QString path = QDir::current().filePath(u"grades.csv"_s);
    journal.setSaveChooser(std::make_unique<FixedSaveChooser>(path));
    findIn<QPushButton>(journal, "saveCsv")->click();
    EXPECT_TRUE(course.boxes().isEmpty()) << course.boxTexts().join(u'\n').toStdString();
    const QByteArray bytes = course.folder().read(u"grades.csv"_s);
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    QList<QStringList> read;
    for (const QString& line :
         QString::fromUtf8(bytes.sliced(3)).split(u"\r\n"_s, Qt::SkipEmptyParts)) {
        read.append(line.split(u';'));
    }
    EXPECT_EQ(
        read,
        shownTable(*qobject_cast<const JournalGradesModel*>(
            qobject_cast<QSortFilterProxyModel*>(findIn<QTableView>(journal, "grades")->model())
                ->sourceModel())));
}

// First attempts: Айгүл answered A, A, A and Бекзат B, B, B, so each got one of three right: the
// totals do not vary, and questions 1 and 2 each separate the two the wrong way round.
TEST_F(JournalFlow, QuestionsShowTheItemAnalysisOfFirstOrAllAttempts) {
    studentsTakeTests();
    GroupJournalWindow& journal = openJournal();
    findIn<QTabWidget>(journal, "tabs")->setCurrentIndex(1);
    ASSERT_EQ(findIn<QComboBox>(journal, "testChoice")->currentText(), u"Тест 1"_s);
    ASSERT_EQ(findIn<QComboBox>(journal, "attemptChoice")->currentText(), u"Первые попытки"_s);
    const QString againstTheKey = u"проверьте ключ"_s;
    EXPECT_EQ(questionRows(*findIn<QTableWidget>(journal, "questions")),
              (QList<QStringList>{
                  {u"1"_s, u"Вопрос 1"_s, u"2"_s, u"50,00"_s, u"70,71"_s, u"-100,00"_s,
                   u"-100,00"_s, kDash, u"1 ✓"_s, u"1"_s, u"0"_s, u"0"_s, u"0"_s, againstTheKey},
                  {u"2"_s, u"Вопрос 2"_s, u"2"_s, u"50,00"_s, u"70,71"_s, u"-100,00"_s,
                   u"-100,00"_s, kDash, u"1"_s, u"1 ✓"_s, u"0"_s, u"0"_s, u"0"_s, againstTheKey},
                  {u"3"_s, u"Вопрос 3"_s, u"2"_s, u"0,00"_s, u"0,00"_s, kDash, kDash, kDash, u"1"_s,
                   u"1"_s, u"0 ✓"_s, u"0"_s, u"0"_s, QString()}}));
    EXPECT_EQ(findIn<QLabel>(journal, "testFigures")->text(),
              u"Попыток: 2\nСредний балл %: 33,33\nМедиана %: 33,33\nСКО %: 0,00\n"
              u"Асимметрия: —\nЭксцесс: —\nАльфа Кронбаха %: —\nДоля ошибки %: —\n"
              u"Стандартная ошибка %: —"_s);
    const auto* histogram = findIn<TotalsHistogram>(journal, "totalsHistogram");
    EXPECT_EQ(histogram->counts()[3], 2); // both scored a third
    EXPECT_TRUE(histogram->accessibleDescription().contains(u"30–40 %: 2"_s))
        << histogram->accessibleDescription().toStdString();
    EXPECT_TRUE(findIn<QLabel>(journal, "questionNotes")->isHidden());

    // Every attempt: Айгүл's second (A, B, C) joins; the key marks stay where they were.
    findIn<QComboBox>(journal, "attemptChoice")->setCurrentIndex(1);
    QList<QStringList> rows = questionRows(*findIn<QTableWidget>(journal, "questions"));
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].mid(2, 2), (QStringList{u"3"_s, u"66,67"_s}));
    EXPECT_EQ(rows[0].mid(8, 6),
              (QStringList{u"2 ✓"_s, u"1"_s, u"0"_s, u"0"_s, u"0"_s, u"слабо различает"_s}));
    EXPECT_TRUE(findIn<QLabel>(journal, "testFigures")->text().startsWith(u"Попыток: 3\n"_s));
    EXPECT_EQ(histogram->counts()[3] + histogram->counts()[9], 3);

    // The teacher rewrites question 2; its old answers no longer count.
    findIn<QComboBox>(journal, "attemptChoice")->setCurrentIndex(0);
    QList<QuestionSpec> changed = numberedQuestions({1, 2, 3});
    changed[1].text = u"Вопрос 2, исправленный"_s;
    writeTestFile(u"test1"_s, changed, u"3"_s);
    findIn<QPushButton>(journal, "refresh")->click();
    rows = questionRows(*findIn<QTableWidget>(journal, "questions"));
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[1].mid(1, 3), (QStringList{u"Вопрос 2, исправленный"_s, u"0"_s, kDash}));
    EXPECT_EQ(rows[0][2], u"2"_s);
    EXPECT_EQ(findIn<QLabel>(journal, "questionNotes")->text(),
              u"ответов на изменённые вопросы не учтено: 2"_s);
    EXPECT_FALSE(findIn<QLabel>(journal, "questionNotes")->isHidden());
    EXPECT_TRUE(findIn<QLabel>(journal, "questionRemarks")
                    ->text()
                    .startsWith(u"Попыткам заданы разные вопросы"_s));
}

// The key of question 3 is changed to A: Айгүл's last attempt (A, B, C) now has two of three
// right, 4 instead of 5; Бекзат's (B, B, B) stays at one, 2.
TEST_F(JournalFlow, RegradeListsTheChangesAndWritesThemOnlyWhenConfirmed) {
    studentsTakeTests();
    GroupJournalWindow& journal = openJournal();
    findIn<QTabWidget>(journal, "tabs")->setCurrentIndex(1);
    writeTestFile(u"test1"_s, numberedQuestions({1, 2, 1}), u"3"_s);
    course.forgetBoxes();
    MessageBoxes::setNextAnswer(MessageBoxes::Answer::Cancel);
    findIn<QPushButton>(journal, "regrade")->click();
    ASSERT_EQ(course.boxes().size(), 1);
    EXPECT_EQ(course.boxes()[0].kind, MessageBoxes::Kind::Question);
    EXPECT_EQ(course.boxes()[0].text,
              u"Пересчитать оценки по нынешнему ключу ответов (Тест 1)?\n\nАйгүл: 5 → 4"_s);
    EXPECT_EQ(course.storedGrade(u"Айгүл"_s, 1), u"5"_s);

    course.forgetBoxes();
    findIn<QPushButton>(journal, "regrade")->click();
    EXPECT_EQ(course.boxTexts(),
              (QStringList{u"Question: Пересчитать оценки по нынешнему ключу ответов (Тест 1)?\n\n"
                           u"Айгүл: 5 → 4"_s,
                           u"Information: Оценки пересчитаны: 1."_s}));
    EXPECT_EQ(course.storedGrade(u"Айгүл"_s, 1), u"4"_s);
    EXPECT_EQ(course.storedGrade(u"Бекзат"_s, 1), u"2"_s);
    EXPECT_EQ(qobject_cast<QSortFilterProxyModel*>(findIn<QTableView>(journal, "grades")->model())
                  ->index(0, 1)
                  .data()
                  .toString(),
              u"4"_s);
    EXPECT_TRUE(course.folder().read(u"report.regrades.txt"_s).endsWith(" | test1 | 5 | 4\r\n"));

    course.forgetBoxes();
    findIn<QPushButton>(journal, "regrade")->click();
    EXPECT_EQ(
        course.boxTexts(),
        QStringList{u"Information: По нынешнему ключу ответов ни одна оценка не меняется."_s});
}

TEST_F(JournalFlow, ALostAnswerLogLeavesTheTestsEndAsItWas) {
    // The answer log's name is taken by a folder: no line can be appended.
    QDir().mkpath(u"report.answers.txt"_s);
    course.signIn(u"Айгүл"_s, u"pw"_s);
    course.startTest(1);
    course.answer({1, 2, 3});
    EXPECT_TRUE(course.boxes().isEmpty()) << course.boxTexts().join(u'\n').toStdString();
    EXPECT_EQ(course.screenInFront(), 2);
    EXPECT_EQ(course.gradeShown(1), u"5"_s);
    EXPECT_EQ(course.storedGrade(u"Айгүл"_s, 1), u"5"_s);
    EXPECT_TRUE(course.folder().read(u"report.txt"_s).endsWith(" | test1 | 5\r\n"));
    EXPECT_TRUE(course.enabled("test2"));
    course.leaveProgress();
    course.choose("NaFormuAvtorizazii");

    const GroupJournalWindow& journal = openJournal();
    EXPECT_EQ(qobject_cast<QSortFilterProxyModel*>(findIn<QTableView>(journal, "grades")->model())
                  ->index(0, 1)
                  .data()
                  .toString(),
              u"5"_s);
    EXPECT_EQ(findIn<QLabel>(journal, "notes")->text(), u"тестов без строк ответов: 1"_s);
}

} // namespace
