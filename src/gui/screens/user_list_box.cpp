// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/screens/user_list_box.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace velmora {

UserListBox::UserListBox(QWidget* parent) : QComboBox(parent) {
    setObjectName(QStringLiteral("ComboBox1"));
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr); // completion is our own: to the first entry, in list order
    lineEdit()->setAccessibleName(QStringLiteral("Имя пользователя"));
    lineEdit()->installEventFilter(this);
    connect(lineEdit(), &QLineEdit::textEdited, this, &UserListBox::complete);
    connect(this, &QComboBox::activated, this, &UserListBox::chosen);
}

void UserListBox::setNames(const QStringList& names) {
    clear();
    addItems(names);
    setCurrentIndex(-1);
}

bool UserListBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lineEdit() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        // Deleting the completed part must not complete it again.
        deleting_ = key == Qt::Key_Backspace || key == Qt::Key_Delete;
    }
    return QComboBox::eventFilter(watched, event);
}

void UserListBox::complete(const QString& typed) {
    if (std::exchange(deleting_, false) || typed.isEmpty()) {
        return;
    }
    int found = -1;
    for (int i = 0; i < count(); ++i) {
        if (itemText(i).startsWith(typed, Qt::CaseInsensitive)) {
            found = i;
            break;
        }
    }
    if (found < 0) {
        return;
    }
    const bool changed = found != currentIndex();
    const QString entry = itemText(found);
    if (changed) {
        setCurrentIndex(found);
    }
    lineEdit()->setText(entry);
    lineEdit()->setSelection(static_cast<int>(entry.size()),
                             static_cast<int>(typed.size() - entry.size()));
    if (changed) {
        Q_EMIT chosen();
    }
}

} // namespace velmora
