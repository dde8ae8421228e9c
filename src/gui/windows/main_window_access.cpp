// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's part of users and access: the sign-in and administrator screens, the user
// list, sign-in, registration, deletion, the unlock chain, the administrator settings and the
// write-back of grades at close.
#include "core/access/access_texts.h"
#include "core/access/admin_settings.h"
#include "core/access/registration.h"
#include "core/access/sign_in.h"
#include "core/access/unlock_chain.h"
#include "core/access/user_list.h"
#include "core/access/user_register.h"
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
    setScreenContent(4, signInContent_);
    connect(signInContent_->signInButton(), &QToolButton::clicked, this, &MainWindow::signIn);
    connect(signInContent_->registerButton(), &QToolButton::clicked, this,
            &MainWindow::registerStudent);
    connect(signInContent_->deleteButton(), &QToolButton::clicked, this,
            &MainWindow::deleteStudent);

    adminContent_ = new AdminScreen;
    setScreenContent(7, adminContent_);
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
    session_.admin = AdminSettings::read();
    adminContent_->showSettings(session_.admin);
}

void MainWindow::writeBackGrades() {
    if (session_.signedIn) {
        UserRegister::writeGrades(session_.userName, session_.grades);
    }
}

void MainWindow::setUnlocked(const QString& testKey, bool unlocked) {
    const QList<QAction*> items = menuBar()->findChildren<QAction*>();
    for (const QString& name : UnlockChain::itemsFor(testKey)) {
        for (QAction* item : items) {
            if (item->objectName().compare(name, Qt::CaseInsensitive) == 0) {
                item->setEnabled(unlocked);
                break;
            }
        }
    }
    Q_EMIT accessChanged();
}

void MainWindow::signIn() {
    guarded(this, [&] {
        const QString name = signInContent_->nameBox()->text();
        switch (SignIn::check(name, signInContent_->passwordBox()->text(), session_.admin.login,
                              session_.admin.password)) {
        case SignIn::Outcome::Ignored:
            return;
        case SignIn::Outcome::Refused:
            MessageBoxes::error(this, texts::wrongNameOrPassword());
            return;
        case SignIn::Outcome::Administrator:
            reopenUnlockChain();
            completeSignIn(name, MenuState::Administrator);
            return;
        case SignIn::Outcome::Student:
            reopenUnlockChain();
            SignIn::loadStudent(name, session_.grades,
                                [&](const QString& testKey) { setUnlocked(testKey, false); });
            completeSignIn(name, MenuState::Student);
            return;
        }
    });
}

// Items locked by an earlier attempt that stopped half-way open again, so the locks follow the
// grades of the user signing in alone.
void MainWindow::reopenUnlockChain() {
    for (int test = 1; test <= UnlockChain::kRows; ++test) {
        setUnlocked(UserRegister::testKey(test), true);
    }
}

void MainWindow::completeSignIn(const QString& name, MenuState state) {
    session_.signIn(name);
    showScreen(documentScreen());
    setMenuState(state);
    if (state == MenuState::Administrator) {
        userListBox()->show();
    }
}

void MainWindow::registerStudent() {
    guarded(this, [&] {
        UserList list(userListItems());
        const auto keepList = qScopeGuard([&] { setUserListItems(list.names()); });
        if (const auto refusal = Registration::registerStudent(
                signInContent_->nameBox()->text(), signInContent_->passwordBox()->text(),
                session_.admin.login, list)) {
            MessageBoxes::error(this, *refusal);
            return;
        }
        MessageBoxes::information(this, texts::registered());
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
