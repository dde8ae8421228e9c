// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace velmora {

// The controls of the sign-in screen: name and password boxes and the buttons "Әрі қарай>>",
// "Жаңа қолданушы" and "Қолданушыны жою". It fills the sign-in panel; the main window connects
// the buttons to its handlers. Enter in either box presses "Әрі қарай>>".
class SignInScreen : public QWidget {
    Q_OBJECT
public:
    explicit SignInScreen(QWidget* parent = nullptr);

    QLineEdit* nameBox() const { return nameBox_; }           // Edit2
    QLineEdit* passwordBox() const { return passwordBox_; }   // MaskEdit1
    QToolButton* signInButton() const { return signIn_; }     // SpeedButton3
    QToolButton* registerButton() const { return register_; } // SpeedButton1
    QToolButton* deleteButton() const { return delete_; }     // SpeedButton2

private:
    QLineEdit* nameBox_;
    QLineEdit* passwordBox_;
    QToolButton* signIn_;
    QToolButton* register_;
    QToolButton* delete_;
};

} // namespace velmora
