// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/course/course_shape.h"

#include <QWidget>
#include <array>
#include <span>

class QLabel;

namespace velmora {

class UserListBox;

// The content of the progress screen: the grades of tests 1 to 10 of the grade table, the name of
// the signed-in user (`Label5`), the administrator's list of users (`ComboBox1`, hidden until the
// administrator signs in; it lies over the name) and "<<Назад" (`SpeedButton4`). The value labels
// of tests 11 and 12 exist but are never shown.
class ProgressScreen : public QWidget {
    Q_OBJECT

public:
    explicit ProgressScreen(QWidget* parent = nullptr);

    // The screen's background, teal.
    static QColor background();

    void setUserName(const QString& name);
    // Shows grades[0] … grades[11] as the grades of tests 1 … 12, as unsigned decimal numbers.
    void showGrades(std::span<const quint8> grades);

    UserListBox* userList() const { return userList_; }

Q_SIGNALS:
    // An entry of the user list was picked or completed to.
    void userChosen();
    // "<<Назад" was clicked.
    void backClicked();

private:
    void build();

    QLabel* nameLabel_ = nullptr;
    std::array<QLabel*, kTestSlots> values_{};
    UserListBox* userList_ = nullptr;
};

} // namespace velmora
