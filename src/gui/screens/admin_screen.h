// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace velmora {

struct AdminSettings;

// The controls of the administrator screen: the administrator login, the password twice and the
// test log file name, with "Применить" and "Назад". It fills the administrator panel; the main
// window connects the buttons to its handlers.
class AdminScreen : public QWidget {
    Q_OBJECT
public:
    explicit AdminScreen(QWidget* parent = nullptr);

    // Puts the settings into the boxes (the password into both password boxes).
    void showSettings(const AdminSettings& settings);

    QLineEdit* loginBox() const { return login_; }                 // Edit3
    QLineEdit* passwordBox() const { return password_; }           // Edit4
    QLineEdit* passwordAgainBox() const { return passwordAgain_; } // Edit5
    QLineEdit* reportFileBox() const { return reportFile_; }       // Edit6
    QToolButton* applyButton() const { return apply_; }            // SpeedButton7
    QToolButton* backButton() const { return back_; }              // SpeedButton6

private:
    QLineEdit* login_;
    QLineEdit* password_;
    QLineEdit* passwordAgain_;
    QLineEdit* reportFile_;
    QToolButton* apply_;
    QToolButton* back_;
};

} // namespace velmora
