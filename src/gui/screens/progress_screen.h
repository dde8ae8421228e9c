// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <span>
#include <vector>

class QLabel;

namespace velmora {

class UserListBox;
struct CourseBook;

// The content of the progress screen: the grades of the course's shown tests (1 to 10 in the
// shipped course) of the grade table, the name of the signed-in user (`Label5`), the
// administrator's list of users (`ComboBox1`, hidden until the administrator signs in; it lies over
// the name) and "<<Назад" (`SpeedButton4`). The value labels of the further grade slots (tests 11
// and 12) exist but are never shown.
class ProgressScreen : public QWidget {
    Q_OBJECT

public:
    // The screen of the course of the program folder.
    explicit ProgressScreen(QWidget* parent = nullptr);
    explicit ProgressScreen(const CourseBook& course, QWidget* parent = nullptr);

    // The screen's background, teal.
    static QColor background();

    void setUserName(const QString& name);
    // Shows grades[0], grades[1] … as the grades of tests 1, 2 … of the course's grade slots, as
    // unsigned decimal numbers.
    void showGrades(std::span<const quint8> grades);

    UserListBox* userList() const { return userList_; }

Q_SIGNALS:
    // An entry of the user list was picked or completed to.
    void userChosen();
    // "<<Назад" was clicked.
    void backClicked();

private:
    void build(int shownTests, int gradeSlots);

    QLabel* nameLabel_ = nullptr;
    std::vector<QLabel*> values_;
    UserListBox* userList_ = nullptr;
};

} // namespace velmora
