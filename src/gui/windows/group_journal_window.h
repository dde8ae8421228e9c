// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/windows/save_file_chooser.h"

#include <QWidget>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;
class QTableWidget;
class QTabWidget;

namespace velmora {

class GradeChart;
class TotalsHistogram;
class JournalGradesModel;

// The teacher's group journal "Журнал группы": a modeless window with the grades of every student
// ("Оценки": the table, a summary per test and a chart of the chosen test's grades) and the item
// analysis of a test ("Вопросы": the test's figures, a histogram of the attempts' totals and the
// figures of every question). Every file is read once per reload; nothing is written but the CSV
// file the teacher asks for, and the grades of a regrade the teacher confirms.
class GroupJournalWindow : public QWidget {
    Q_OBJECT
public:
    explicit GroupJournalWindow(QWidget* parent = nullptr);
    ~GroupJournalWindow() override;

    // Reads the journal anew from the course folder; `reportfile` is the test log setting.
    void reload(const QString& reportfile);
    void setSaveChooser(std::unique_ptr<SaveFileChooser> chooser);

private:
    QWidget* buildGradesTab();
    QWidget* buildQuestionsTab();
    void fillSummary();
    // The line under the tabs: what was sent to the course's record store, what waits, the last
    // error; made only for a course folder with results.toml.
    void showResultsStatus();

    // Handlers of the controls.
    void refresh();             // "Обновить"
    void showChart(int column); // a test column chosen
    void showQuestions();       // a test or the attempts chosen on "Вопросы"
    void regradeTest();         // "Пересчитать оценки..."
    void saveCsv();             // "Сохранить CSV..."
    void printGrades();         // "Печать..."

    QString reportfile_;
    bool questionsStale_ = true;
    std::unique_ptr<SaveFileChooser> chooser_;
    JournalGradesModel* model_ = nullptr;
    QSortFilterProxyModel* proxy_ = nullptr;
    QLabel* notes_ = nullptr;
    QLabel* resultsStatus_ = nullptr;
    QPushButton* refresh_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QLineEdit* filter_ = nullptr;
    QPushButton* saveCsv_ = nullptr;
    QPushButton* print_ = nullptr;
    QTableView* gradesView_ = nullptr;
    QTableWidget* summary_ = nullptr;
    GradeChart* chart_ = nullptr;
    QComboBox* testChoice_ = nullptr;
    QComboBox* attemptChoice_ = nullptr;
    QPushButton* regrade_ = nullptr;
    QLabel* testFigures_ = nullptr;
    TotalsHistogram* histogram_ = nullptr;
    QLabel* questionNotes_ = nullptr;
    QTableWidget* questions_ = nullptr;
    QLabel* questionRemarks_ = nullptr;
};

} // namespace velmora
