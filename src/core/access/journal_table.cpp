// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/access/journal_table.h"

#include "core/access/group_journal.h"
#include "core/exam/question_statistics.h"
#include "core/exam/test_analysis.h"
#include "core/storage/csv_writer.h"

#include <cmath>

namespace velmora {
namespace {

QString nameCell(const JournalStudent& student) {
    return student.listed ? student.name : student.name + QStringLiteral(" (нет в списке)");
}

} // namespace

QString JournalTable::number(double value) {
    QString text = QString::number(value, 'f', 2).replace(QLatin1Char('.'), QLatin1Char(','));
    // A figure that rounds to zero is zero, whichever side of it the arithmetic left it on.
    return text == u"-0,00" ? QStringLiteral("0,00") : text;
}

QString JournalTable::percent(double share) {
    return QStringLiteral("%1 %").arg(std::lround(share * 100));
}

QString JournalTable::shortened(const QString& text, int length) {
    const QString line = text.simplified();
    return line.size() <= length ? line : line.left(length - 1) + QStringLiteral("…");
}

JournalTable JournalTable::of(const GroupJournal& journal) {
    JournalTable table;
    table.header_.append(QStringLiteral("Студент"));
    for (const int test : journal.tests()) {
        table.header_.append(QStringLiteral("Тест %1").arg(test));
    }
    table.header_.append(QStringLiteral("Средний балл"));
    for (const JournalStudent& student : journal.students()) {
        QStringList row{nameCell(student)};
        for (const int test : journal.tests()) {
            const std::optional<int> grade = student.grade(test);
            row.append(grade ? QString::number(*grade) : notTaken());
        }
        const std::optional<double> mean = student.mean(journal.tests());
        row.append(mean ? number(*mean) : notTaken());
        table.rows_.append(row);
    }
    return table;
}

QStringList JournalTable::summaryRows() {
    return {QStringLiteral("Сдавали"), QStringLiteral("Средний балл"),
            QStringLiteral("Сдали (3 и выше)")};
}

JournalTable JournalTable::summaryOf(const GroupJournal& journal) {
    JournalTable table;
    table.header_.append(QString());
    const QStringList labels = summaryRows();
    for (const QString& label : labels) {
        table.rows_.append(QStringList{label});
    }
    for (const int test : journal.tests()) {
        table.header_.append(QStringLiteral("Тест %1").arg(test));
        const JournalTestSummary s = journal.summary(test);
        table.rows_[0].append(QString::number(s.taken));
        table.rows_[1].append(s.taken > 0 ? number(s.mean) : notTaken());
        table.rows_[2].append(s.taken > 0 ? percent(s.passedShare) : notTaken());
    }
    return table;
}

JournalTable JournalTable::of(const QuestionStatistics& statistics) {
    JournalTable table;
    table.header_ = QStringList{QStringLiteral("№"), QStringLiteral("Вопрос"),
                                QStringLiteral("Ответов"), QStringLiteral("Верно")};
    for (const QChar letter : QStringLiteral("ABCDE")) {
        table.header_.append(QString(letter));
    }
    table.header_.append(QStringLiteral("Отметка"));
    for (const QuestionTally& q : statistics.questions()) {
        QStringList row{QString::number(q.number), shortened(q.text), QString::number(q.answers),
                        q.answers > 0 ? percent(q.correctShare()) : notTaken()};
        for (int i = 0; i < static_cast<int>(q.chosen.size()); ++i) {
            const QString count = QString::number(q.chosen[static_cast<size_t>(i)]);
            const bool correct = q.correct == QString(QChar(u'A' + i));
            row.append(correct ? count + QStringLiteral(" ✓") : count);
        }
        row.append(q.verdict());
        table.rows_.append(row);
    }
    return table;
}

QString JournalTable::figure(const std::optional<double>& value) {
    return value ? number(*value) : notTaken();
}

JournalTable JournalTable::of(const TestAnalysis& analysis) {
    JournalTable table;
    table.header_ = QStringList{QStringLiteral("№"),
                                QStringLiteral("Вопрос"),
                                QStringLiteral("Ответов"),
                                QStringLiteral("Лёгкость %"),
                                QStringLiteral("СКО %"),
                                QStringLiteral("Индекс дискриминации %"),
                                QStringLiteral("Эффективность дискриминации %"),
                                QStringLiteral("Вес %")};
    for (const QChar letter : QStringLiteral("ABCDE")) {
        table.header_.append(QString(letter));
    }
    table.header_.append(QStringLiteral("Отметка"));
    for (const AnalysedQuestion& q : analysis.questions()) {
        const ItemFigures& f = q.figures;
        QStringList row{QString::number(q.tally.number),
                        shortened(q.tally.text),
                        QString::number(f.attempts),
                        figure(f.facility),
                        figure(f.deviation),
                        figure(f.discrimination),
                        figure(f.efficiency),
                        figure(f.weight)};
        for (int i = 0; i < static_cast<int>(q.tally.chosen.size()); ++i) {
            const QString count = QString::number(q.tally.chosen[static_cast<size_t>(i)]);
            const bool correct = q.tally.correct == QString(QChar(u'A' + i));
            row.append(correct ? count + QStringLiteral(" ✓") : count);
        }
        row.append(q.flags().join(QStringLiteral(", ")));
        table.rows_.append(row);
    }
    return table;
}

QStringList JournalTable::figureLines(const TestFigures& test) {
    const std::pair<QString, std::optional<double>> figures[] = {
        {QStringLiteral("Средний балл %"), test.mean},
        {QStringLiteral("Медиана %"), test.median},
        {QStringLiteral("СКО %"), test.deviation},
        {QStringLiteral("Асимметрия"), test.skewness},
        {QStringLiteral("Эксцесс"), test.kurtosis},
        {QStringLiteral("Альфа Кронбаха %"), test.consistency},
        {QStringLiteral("Доля ошибки %"), test.errorRatio},
        {QStringLiteral("Стандартная ошибка %"), test.standardError},
    };
    QStringList lines{QStringLiteral("Попыток: %1").arg(test.attempts)};
    for (const auto& [label, value] : figures) {
        lines.append(label + QStringLiteral(": ") + figure(value));
    }
    return lines;
}

bool JournalTable::holdsTypedText(qsizetype column) const {
    return column == 0 || header_.value(column) == QStringLiteral("Вопрос");
}

QByteArray JournalTable::csv() const {
    CsvWriter out;
    for (const QString& cell : header_) {
        out.text(cell);
    }
    out.endLine();
    for (const QStringList& row : rows_) {
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (holdsTypedText(i)) {
                out.text(row[i]);
            } else {
                out.number(row[i]);
            }
        }
        out.endLine();
    }
    return out.bytes();
}

QString JournalTable::text() const {
    QList<qsizetype> widths;
    for (const QString& cell : header_) {
        widths.append(cell.size());
    }
    for (const QStringList& row : rows_) {
        for (qsizetype i = 0; i < row.size() && i < widths.size(); ++i) {
            widths[i] = std::max(widths[i], row[i].size());
        }
    }
    QString out;
    const auto appendLine = [&](const QStringList& cells) {
        QStringList padded;
        for (qsizetype i = 0; i < cells.size(); ++i) {
            // Names and question texts to the left, numbers to the right.
            padded.append(holdsTypedText(i) ? cells[i].leftJustified(widths[i])
                                            : cells[i].rightJustified(widths[i]));
        }
        // Blanks at the end only: an empty first cell keeps its column.
        QString line = padded.join(QStringLiteral("  "));
        while (line.endsWith(QLatin1Char(' '))) {
            line.chop(1);
        }
        out += line + QLatin1Char('\n');
    };
    appendLine(header_);
    for (const QStringList& row : rows_) {
        appendLine(row);
    }
    return out;
}

} // namespace velmora
