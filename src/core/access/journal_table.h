// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace velmora {

class GroupJournal;
class QuestionStatistics;
class TestAnalysis;
struct TestFigures;

// The group journal or a test's question statistics as a table of texts, cell for cell as the
// journal window shows them; velmora-admin prints it and "Сохранить CSV..." saves it.
class JournalTable {
public:
    // One row per student: the name, a cell per test ("—" where not taken), the mean.
    static JournalTable of(const GroupJournal& journal);
    // One row per question: number, text (shortened), answers, share correct, A … E with the
    // correct letter's count marked, the verdict.
    static JournalTable of(const QuestionStatistics& statistics);
    // One row per question with its item analysis: number, text (shortened), answers, facility,
    // SD, discrimination index and efficiency, weight (all in percent, "—" where undefined),
    // A … E with the correct letter's count marked, the flags.
    static JournalTable of(const TestAnalysis& analysis);
    // The test's figures, one "Label: value" line each, as the tab shows them above the table.
    static QStringList figureLines(const TestFigures& test);
    // A figure with two decimals and a comma, or "—".
    static QString figure(const std::optional<double>& value);
    // The summary under the journal's table: a column per test ("Тест 1"; the first header cell is
    // empty) and a row per summaryRows() label: how many took it, their mean grade and the share
    // with 3 or more ("—" for both when nobody took it).
    static JournalTable summaryOf(const GroupJournal& journal);
    static QStringList summaryRows();

    static QString notTaken() { return QStringLiteral("—"); }
    // "4,50": two decimals with a comma, as spreadsheets in Russian and Kazakh settings read them.
    static QString number(double value);
    // "67 %"
    static QString percent(double share);
    // The question text in one line, cut to `length` characters with "…".
    static QString shortened(const QString& text, int length = 60);

    const QStringList& header() const { return header_; }
    const QList<QStringList>& rows() const { return rows_; }

    // UTF-8 with a byte order mark, ";" between fields, the header first, CR LF after each line;
    // a field holding ";", a quote or a line break is quoted. Names and question texts are
    // written as text (one that looks like a formula with an apostrophe first), the program's
    // own values as they are.
    QByteArray csv() const;
    // The table aligned in columns for a terminal.
    QString text() const;

private:
    // Whether a column holds what people typed (the students' names, the question texts) rather
    // than values the program wrote.
    bool holdsTypedText(qsizetype column) const;

    QStringList header_;
    QList<QStringList> rows_;
};

} // namespace velmora
