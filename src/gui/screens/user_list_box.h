// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QComboBox>

namespace velmora {

// The progress screen's list of registered users, `ComboBox1`: editable; typed text is completed
// to the first entry that begins with it, letter case ignored. chosen() reports a pick from the
// drop-down, and a completion to an entry other than the one selected before; text that no entry
// begins with selects nothing. A freshly filled list selects nothing, so the first choice of any
// name, the first entry's included, is reported.
class UserListBox : public QComboBox {
    Q_OBJECT

public:
    explicit UserListBox(QWidget* parent = nullptr);

    // Replaces the entries; none is selected and the edit text is empty.
    void setNames(const QStringList& names);

Q_SIGNALS:
    void chosen();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void complete(const QString& typed);

    bool deleting_ = false;
};

} // namespace velmora
