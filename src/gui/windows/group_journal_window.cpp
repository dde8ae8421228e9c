// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/windows/group_journal_window.h"

#include "core/access/journal_table.h"
#include "core/access/regrade.h"
#include "core/exam/test_analysis.h"
#include "core/results/outbox.h"
#include "core/results/results_settings.h"
#include "core/results/results_status.h"
#include "core/storage/data_path.h"
#include "core/storage/save_file.h"
#include "gui/kit/handler_guard.h"
#include "gui/kit/message_boxes.h"
#include "gui/kit/plain_text.h"
#include "gui/kit/print_dialogs.h"
#include "gui/windows/grade_chart.h"
#include "gui/windows/journal_grades_model.h"
#include "gui/windows/totals_histogram.h"

#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTextDocument>
#include <QVBoxLayout>

namespace velmora {
namespace {

constexpr int kQuestionsTab = 1;

QTableWidgetItem* readOnlyItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

// The grades as shown, as an HTML table for printing.
QString gradesHtml(const QAbstractItemModel& shown) {
    QString html = QStringLiteral("<h3>Журнал группы</h3><table border=1 cellspacing=0 "
                                  "cellpadding=3><tr>");
    for (int column = 0; column < shown.columnCount(); ++column) {
        html += QStringLiteral("<th>%1</th>")
                    .arg(shown.headerData(column, Qt::Horizontal).toString().toHtmlEscaped());
    }
    html += QStringLiteral("</tr>");
    for (int row = 0; row < shown.rowCount(); ++row) {
        html += QStringLiteral("<tr>");
        for (int column = 0; column < shown.columnCount(); ++column) {
            html += QStringLiteral("<td>%1</td>")
                        .arg(shown.index(row, column).data().toString().toHtmlEscaped());
        }
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

} // namespace

GroupJournalWindow::GroupJournalWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), chooser_(std::make_unique<FileDialogSaveChooser>()),
      model_(new JournalGradesModel(this)), proxy_(new QSortFilterProxyModel(this)) {
    setObjectName(QStringLiteral("JournalForm"));
    setWindowTitle(QStringLiteral("Журнал группы"));
    proxy_->setSourceModel(model_);
    proxy_->setSortRole(Qt::UserRole);
    proxy_->setFilterKeyColumn(0);
    proxy_->setFilterCaseSensitivity(Qt::CaseInsensitive);

    notes_ = new QLabel(this);
    notes_->setObjectName(QStringLiteral("notes"));
    notes_->setTextFormat(Qt::PlainText); // a note may name a file the teacher chose
    notes_->setWordWrap(true);
    refresh_ = new QPushButton(QStringLiteral("Обновить"), this);
    refresh_->setObjectName(QStringLiteral("refresh"));
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("tabs"));
    tabs_->addTab(buildGradesTab(), QStringLiteral("Оценки"));
    tabs_->addTab(buildQuestionsTab(), QStringLiteral("Вопросы"));

    auto* top = new QHBoxLayout;
    top->addWidget(notes_, 1);
    top->addStretch(0); // keeps "Обновить" at the right while there is no note
    top->addWidget(refresh_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(tabs_, 1);
    resize(960, 640);

    connect(refresh_, &QPushButton::clicked, this, &GroupJournalWindow::refresh);
    connect(filter_, &QLineEdit::textChanged, proxy_, &QSortFilterProxyModel::setFilterFixedString);
    connect(saveCsv_, &QPushButton::clicked, this, &GroupJournalWindow::saveCsv);
    connect(print_, &QPushButton::clicked, this, &GroupJournalWindow::printGrades);
    connect(gradesView_->selectionModel(), &QItemSelectionModel::currentColumnChanged, this,
            [this](const QModelIndex& current) { showChart(current.column()); });
    connect(gradesView_->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &GroupJournalWindow::showChart);
    connect(summary_, &QTableWidget::currentCellChanged, this,
            [this](int /*row*/, int column) { showChart(column + 1); });
    connect(testChoice_, &QComboBox::currentIndexChanged, this, &GroupJournalWindow::showQuestions);
    connect(attemptChoice_, &QComboBox::currentIndexChanged, this,
            &GroupJournalWindow::showQuestions);
    connect(regrade_, &QPushButton::clicked, this, &GroupJournalWindow::regradeTest);
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int tab) {
        if (tab == kQuestionsTab && questionsStale_) {
            showQuestions();
        }
    });
}

GroupJournalWindow::~GroupJournalWindow() = default;

QWidget* GroupJournalWindow::buildGradesTab() {
    auto* tab = new QWidget;
    tab->setObjectName(QStringLiteral("gradesTab"));
    filter_ = new QLineEdit(tab);
    filter_->setObjectName(QStringLiteral("filter"));
    filter_->setPlaceholderText(QStringLiteral("Поиск по имени"));
    filter_->setAccessibleName(filter_->placeholderText());
    filter_->setClearButtonEnabled(true);
    saveCsv_ = new QPushButton(QStringLiteral("Сохранить CSV..."), tab);
    saveCsv_->setObjectName(QStringLiteral("saveCsv"));
    print_ = new QPushButton(QStringLiteral("Печать..."), tab);
    print_->setObjectName(QStringLiteral("print"));
    gradesView_ = new QTableView(tab);
    gradesView_->setObjectName(QStringLiteral("grades"));
    gradesView_->setAccessibleName(QStringLiteral("Оценки"));
    gradesView_->setModel(proxy_);
    gradesView_->setSortingEnabled(true);
    gradesView_->sortByColumn(-1, Qt::AscendingOrder); // list order until a header is clicked
    gradesView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gradesView_->verticalHeader()->setDefaultSectionSize(gradesView_->fontMetrics().height() + 6);
    summary_ = new QTableWidget(tab);
    summary_->setObjectName(QStringLiteral("summary"));
    summary_->setAccessibleName(QStringLiteral("Итоги"));
    summary_->setRowCount(static_cast<int>(JournalTable::summaryRows().size()));
    summary_->setVerticalHeaderLabels(JournalTable::summaryRows());
    // As tall as its three rows and header, in whatever font it is shown.
    summary_->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    summary_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    summary_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    chart_ = new GradeChart(tab);

    auto* tools = new QHBoxLayout;
    tools->addWidget(filter_, 1);
    tools->addWidget(saveCsv_);
    tools->addWidget(print_);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(summary_, 1);
    bottom->addWidget(chart_);
    auto* layout = new QVBoxLayout(tab);
    layout->addLayout(tools);
    layout->addWidget(gradesView_, 1);
    layout->addLayout(bottom);
    return tab;
}

QWidget* GroupJournalWindow::buildQuestionsTab() {
    auto* tab = new QWidget;
    tab->setObjectName(QStringLiteral("questionsTab"));
    auto* label = new QLabel(QStringLiteral("Тест:"), tab);
    testChoice_ = new QComboBox(tab);
    testChoice_->setObjectName(QStringLiteral("testChoice"));
    label->setBuddy(testChoice_);
    auto* attemptsLabel = new QLabel(QStringLiteral("Попытки:"), tab);
    attemptChoice_ = new QComboBox(tab);
    attemptChoice_->setObjectName(QStringLiteral("attemptChoice"));
    attemptChoice_->setAccessibleName(QStringLiteral("Попытки"));
    attemptChoice_->addItem(QStringLiteral("Первые попытки"));
    attemptChoice_->addItem(QStringLiteral("Все попытки"));
    attemptsLabel->setBuddy(attemptChoice_);
    regrade_ = new QPushButton(QStringLiteral("Пересчитать оценки..."), tab);
    regrade_->setObjectName(QStringLiteral("regrade"));
    testFigures_ = new QLabel(tab);
    testFigures_->setObjectName(QStringLiteral("testFigures"));
    testFigures_->setTextFormat(Qt::PlainText);
    testFigures_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    histogram_ = new TotalsHistogram(tab);
    questionNotes_ = new QLabel(tab);
    questionNotes_->setObjectName(QStringLiteral("questionNotes"));
    questionNotes_->setTextFormat(Qt::PlainText);
    questionNotes_->setWordWrap(true);
    questions_ = new QTableWidget(tab);
    questions_->setObjectName(QStringLiteral("questions"));
    questions_->setAccessibleName(QStringLiteral("Вопросы"));
    questions_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    questions_->verticalHeader()->hide();
    questionRemarks_ = new QLabel(tab);
    questionRemarks_->setObjectName(QStringLiteral("questionRemarks"));
    questionRemarks_->setTextFormat(Qt::PlainText);
    questionRemarks_->setWordWrap(true);

    auto* choice = new QHBoxLayout;
    choice->addWidget(label);
    choice->addWidget(testChoice_);
    choice->addWidget(attemptsLabel);
    choice->addWidget(attemptChoice_);
    choice->addStretch(1);
    choice->addWidget(regrade_);
    auto* figures = new QHBoxLayout;
    figures->addWidget(testFigures_, 1);
    figures->addWidget(histogram_);
    auto* layout = new QVBoxLayout(tab);
    layout->addLayout(choice);
    layout->addLayout(figures);
    layout->addWidget(questionNotes_);
    layout->addWidget(questions_, 1);
    layout->addWidget(questionRemarks_);
    return tab;
}

void GroupJournalWindow::setSaveChooser(std::unique_ptr<SaveFileChooser> chooser) {
    chooser_ = std::move(chooser);
}

void GroupJournalWindow::reload(const QString& reportfile) {
    reportfile_ = reportfile;
    model_->setJournal(GroupJournal::read(reportfile));
    const QStringList notes = model_->journal().notes();
    notes_->setText(notes.join(QStringLiteral("; ")));
    notes_->setHidden(notes.isEmpty());
    gradesView_->resizeColumnToContents(0);
    fillSummary();
    showChart(1);

    const QSignalBlocker blocker(testChoice_);
    const QString chosen = testChoice_->currentData().toString();
    testChoice_->clear();
    for (const int test : model_->journal().tests()) {
        testChoice_->addItem(QStringLiteral("Тест %1").arg(test),
                             QStringLiteral("test%1").arg(test));
    }
    testChoice_->setCurrentIndex(std::max(0, testChoice_->findData(chosen)));
    showResultsStatus();
    // The answer log is the largest file: it is read when the questions are looked at.
    questionsStale_ = true;
    if (tabs_->currentIndex() == kQuestionsTab) {
        showQuestions();
    }
}

void GroupJournalWindow::showResultsStatus() {
    const QString folder = programFolder();
    const bool sends = QFileInfo::exists(QDir(folder).filePath(ResultsSettings::fileName()));
    if (!sends) {
        if (resultsStatus_ != nullptr) {
            resultsStatus_->hide();
        }
        return; // a course that sends nothing shows nothing about it
    }
    if (resultsStatus_ == nullptr) {
        resultsStatus_ = new QLabel(this);
        resultsStatus_->setObjectName(QStringLiteral("resultsStatus"));
        resultsStatus_->setTextFormat(Qt::PlainText); // an error may quote the store's answer
        resultsStatus_->setWordWrap(true);
        static_cast<QVBoxLayout*>(layout())->addWidget(resultsStatus_);
    }
    const ResultsStatus status = ResultsStatus::read(folder);
    resultsStatus_->setText(
        ResultsStatus::line(status.sent, Outbox(folder).count(), status.lastError));
    resultsStatus_->show();
}

void GroupJournalWindow::fillSummary() {
    // The same texts as velmora-admin journal prints under its table.
    const JournalTable table = JournalTable::summaryOf(model_->journal());
    summary_->setColumnCount(static_cast<int>(table.header().size() - 1));
    for (int column = 1; column < table.header().size(); ++column) {
        summary_->setHorizontalHeaderItem(column - 1, readOnlyItem(table.header()[column]));
        for (int row = 0; row < table.rows().size(); ++row) {
            summary_->setItem(row, column - 1, readOnlyItem(table.rows()[row][column]));
        }
    }
}

void GroupJournalWindow::refresh() {
    guarded(this, [&] { reload(reportfile_); });
}

void GroupJournalWindow::showChart(int column) {
    const int test = model_->testOf(column);
    if (test == 0) {
        return;
    }
    chart_->setCounts(model_->journal().summary(test).counts,
                      QStringLiteral("Тест %1: оценки").arg(test));
}

void GroupJournalWindow::showQuestions() {
    guarded(this, [&] {
        questionsStale_ = false;
        const QString test = testChoice_->currentData().toString();
        regrade_->setEnabled(!test.isEmpty());
        if (test.isEmpty()) {
            questions_->clear();
            questions_->setRowCount(0);
            questionNotes_->clear();
            testFigures_->clear();
            questionRemarks_->clear();
            histogram_->setTotals({});
            return;
        }
        const TestAnalysis analysis = TestAnalysis::read(
            reportfile_, test,
            attemptChoice_->currentIndex() == 1 ? AttemptChoice::All : AttemptChoice::First);
        const JournalTable table = JournalTable::of(analysis);
        testFigures_->setText(JournalTable::figureLines(analysis.test()).join(u'\n'));
        histogram_->setTotals(analysis.totals());
        questionNotes_->setText(analysis.notes().join(QStringLiteral("; ")));
        questionNotes_->setHidden(analysis.notes().isEmpty());
        questionRemarks_->setText(analysis.remarks().join(u'\n'));
        questionRemarks_->setHidden(analysis.remarks().isEmpty());
        questions_->clear();
        questions_->setColumnCount(static_cast<int>(table.header().size()));
        questions_->setHorizontalHeaderLabels(table.header());
        questions_->setRowCount(static_cast<int>(table.rows().size()));
        for (int row = 0; row < table.rows().size(); ++row) {
            const QStringList& cells = table.rows()[row];
            for (int column = 0; column < cells.size(); ++column) {
                questions_->setItem(row, column, readOnlyItem(cells[column]));
            }
            questions_->item(row, 1)->setToolTip(
                plainToolTip(analysis.questions()[row].tally.text));
        }
        questions_->resizeColumnsToContents();
    });
}

void GroupJournalWindow::regradeTest() {
    guarded(this, [&] {
        const QString test = testChoice_->currentData().toString();
        if (test.isEmpty()) {
            return;
        }
        const Regrade regrade = Regrade::plan(reportfile_, test);
        if (regrade.changes().isEmpty()) {
            MessageBoxes::information(
                this, QStringLiteral("По нынешнему ключу ответов ни одна оценка не меняется."));
            return;
        }
        QStringList lines{QStringLiteral("Пересчитать оценки по нынешнему ключу ответов (%1)?")
                              .arg(testChoice_->currentText()),
                          QString()};
        for (const RegradeChange& change : regrade.changes()) {
            lines.append(change.text());
        }
        if (!regrade.keptNote().isEmpty()) {
            lines << QString() << regrade.keptNote();
        }
        if (MessageBoxes::questionYesNo(this, lines.join(u'\n')) != MessageBoxes::Answer::Ok) {
            return;
        }
        regrade.apply(reportfile_, QDateTime::currentDateTime());
        reload(reportfile_);
        MessageBoxes::information(
            this, QStringLiteral("Оценки пересчитаны: %1.").arg(regrade.changes().size()));
    });
}

void GroupJournalWindow::saveCsv() {
    guarded(this, [&] {
        const std::optional<QString> path = chooser_->choose(this, QStringLiteral("journal.csv"));
        if (!path) {
            return;
        }
        saveFile(*path, model_->table().csv());
    });
}

void GroupJournalWindow::printGrades() {
    guarded(this, [&] {
        QPrinter printer(QPrinter::HighResolution);
        if (!PrintDialogs::choose(this, printer)) {
            return;
        }
        QTextDocument document;
        document.setHtml(gradesHtml(*proxy_));
        document.print(&printer);
        PrintDialogs::checkPrinted(printer);
    });
}

} // namespace velmora
