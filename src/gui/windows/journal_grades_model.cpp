// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/windows/journal_grades_model.h"

#include <QBrush>
#include <QColor>

namespace velmora {

JournalGradesModel::JournalGradesModel(QObject* parent) : QAbstractTableModel(parent) {}

void JournalGradesModel::setJournal(GroupJournal journal) {
    beginResetModel();
    journal_ = std::move(journal);
    table_ = JournalTable::of(journal_);
    endResetModel();
}

int JournalGradesModel::testOf(int column) const {
    const QList<int>& tests = journal_.tests();
    return column >= 1 && column <= tests.size() ? tests[column - 1] : 0;
}

int JournalGradesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(table_.rows().size());
}

int JournalGradesModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(table_.header().size());
}

QVariant JournalGradesModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    const int row = index.row();
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return table_.rows()[row][column];
    case Qt::UserRole:
        return sortValue(row, column);
    case Qt::BackgroundRole:
        return background(row, column);
    case Qt::ForegroundRole:
        // Black on the light tints, whatever the look's text colour (white in high contrast).
        return background(row, column).isValid() ? QVariant(QBrush(Qt::black)) : QVariant();
    case Qt::ToolTipRole:
        return toolTip(row, column);
    case Qt::TextAlignmentRole:
        return column == 0 ? QVariant() : QVariant(Qt::AlignCenter);
    default:
        return {};
    }
}

QVariant JournalGradesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
        return table_.header().value(section);
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

QVariant JournalGradesModel::sortValue(int row, int column) const {
    const JournalStudent& student = journal_.students()[row];
    if (column == 0) {
        return student.name;
    }
    if (const int test = testOf(column)) {
        return student.grade(test).value_or(-1);
    }
    return student.mean(journal_.tests()).value_or(-1.0);
}

QVariant JournalGradesModel::background(int row, int column) const {
    const int test = testOf(column);
    const std::optional<int> grade =
        test != 0 ? journal_.students()[row].grade(test) : std::nullopt;
    if (!grade || *grade < 1) {
        return {};
    }
    if (*grade <= 2) {
        return QColor(0xff, 0xcd, 0xd2); // light red
    }
    return *grade == 3 ? QColor(0xff, 0xf5, 0x9d)  // light yellow
                       : QColor(0xc8, 0xe6, 0xc9); // light green
}

QVariant JournalGradesModel::toolTip(int row, int column) const {
    const int test = testOf(column);
    if (test == 0) {
        return {};
    }
    const JournalAttempts& attempts = journal_.students()[row].attempts[static_cast<size_t>(test)];
    if (attempts.count == 0) {
        return QStringLiteral("Не сдавал");
    }
    return QStringLiteral("Попыток: %1\nПоследняя: %2").arg(attempts.count).arg(attempts.last);
}

} // namespace velmora
