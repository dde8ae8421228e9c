// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/access/group_journal.h"
#include "core/access/journal_table.h"

#include <QAbstractTableModel>

namespace velmora {

// The journal's grades as a table model: the texts of JournalTable, the grade colours, the
// attempts in the tooltips, and numbers to sort by (Qt::UserRole; -1 for a test not taken).
class JournalGradesModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit JournalGradesModel(QObject* parent = nullptr);

    void setJournal(GroupJournal journal);
    const GroupJournal& journal() const { return journal_; }
    const JournalTable& table() const { return table_; }
    // The test of a column, or 0 for the name and the mean.
    int testOf(int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QVariant sortValue(int row, int column) const;
    QVariant background(int row, int column) const;
    QVariant toolTip(int row, int column) const;

    GroupJournal journal_;
    JournalTable table_;
};

} // namespace velmora
