// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's part of users and access: the sign-in and administrator screens, the user
// list, sign-in, registration, deletion, the administrator settings and the write-back of grades
// at close.
#include "core/access/access_texts.h"
#include "core/access/admin_settings.h"
#include "core/access/registration.h"
#include "core/access/sign_in.h"
#include "core/access/user_list.h"
#include "core/access/user_register.h"
#include "core/program/course_state.h"
#include "core/results/results_recorder.h"
#include "gui/kit/handler_guard.h"
#include "gui/kit/message_boxes.h"
#include "gui/screens/admin_screen.h"
#include "gui/screens/sign_in_screen.h"
#include "gui/screens/user_list_box.h"
#include "gui/windows/main_window.h"

#include <QLineEdit>
#include <QMenuBar>
#include <QScopeGuard>
#include <QToolButton>

namespace velmora {

void MainWindow::buildAccessScreens() {
    signInContent_ = new SignInScreen;
    setScreenContent(Screen::SignIn, signInContent_);
    connect(signInContent_->signInButton(), &QToolButton::clicked, this, &MainWindow::signIn);
    connect(signInContent_->registerButton(), &QToolButton::clicked, this,
            &MainWindow::registerStudent);
    connect(signInContent_->deleteButton(), &QToolButton::clicked, this,
            &MainWindow::deleteStudent);

    adminContent_ = new AdminScreen;
    setScreenContent(Screen::Administrator, adminContent_);
    connect(adminContent_->applyButton(), &QToolButton::clicked, this,
            &MainWindow::applyAdminSettings);
    connect(adminContent_->backButton(), &QToolButton::clicked, this,
            &MainWindow::leaveAdminScreen);
}

QStringList MainWindow::userListItems() const {
    QStringList names;
    for (int i = 0; i < userListBox()->count(); ++i) {
        names.append(userListBox()->itemText(i));
    }
    return names;
}

void MainWindow::setUserListItems(const QStringList& names) {
    userListBox()->setNames(names);
}

void MainWindow::loadUserList() {
    setUserListItems(UserList::load().names());
}

void MainWindow::readAdminSettings() {
    state_->setAdminSettings(AdminSettings::read());
    adminContent_->showSettings(state_->session().admin);
}

void MainWindow::writeBackGrades() {
    const Session& session = state_->session();
    if (session.signedIn) {
        UserRegister::writeGrades(session.userName, session.grades);
    }
}

void MainWindow::signIn() {
    guarded(this, [&] {
        const QString name = signInContent_->nameBox()->text();
        const Session& session = state_->session();
        switch (SignIn::check(name, signInContent_->passwordBox()->text(), session.admin.login,
                              session.admin.password)) {
        case SignIn::Outcome::Ignored:
            return;
        case SignIn::Outcome::Refused:
            MessageBoxes::error(this, texts::wrongNameOrPassword());
            return;
        case SignIn::Outcome::Administrator:
            state_->signInAdministrator(name);
            completeSignIn();
            return;
        case SignIn::Outcome::Student:
            state_->signInStudent(name);
            completeSignIn();
            offerUnfinishedAttempt();
            return;
        }
    });
}

void MainWindow::completeSignIn() {
    showScreen(Screen::Document);
    if (state_->menuState() == MenuState::Administrator) {
        userListBox()->show();
    }
}

void MainWindow::registerStudent() {
    guarded(this, [&] {
        UserList list(userListItems());
        const auto keepList = qScopeGuard([&] { setUserListItems(list.names()); });
        if (const auto refusal = Registration::registerStudent(
                signInContent_->nameBox()->text(), signInContent_->passwordBox()->text(),
                state_->session().admin.login, list)) {
            MessageBoxes::error(this, *refusal);
            return;
        }
        MessageBoxes::information(this, texts::registered());
        // After the box: an outbox that cannot be written never hides a done registration.
        ResultsRecorder::registered(signInContent_->nameBox()->text());
    });
}

void MainWindow::deleteStudent() {
    guarded(this, [&] {
        UserList list(userListItems());
        const auto keepList = qScopeGuard([&] { setUserListItems(list.names()); });
        if (const auto refusal = Registration::deleteStudent(
                signInContent_->nameBox()->text(), signInContent_->passwordBox()->text(), list)) {
            MessageBoxes::error(this, *refusal);
        }
    });
}

void MainWindow::applyAdminSettings() {
    guarded(this, [&] {
        const AdminSettings typed{adminContent_->loginBox()->text(),
                                  adminContent_->passwordAgainBox()->text(),
                                  adminContent_->reportFileBox()->text()};
        if (const auto refusal =
                AdminSettings::applyRefusal(typed.login, adminContent_->passwordBox()->text(),
                                            typed.password, typed.reportFile)) {
            MessageBoxes::error(this, *refusal);
            return;
        }
        typed.write();
    });
}

} // namespace velmora
