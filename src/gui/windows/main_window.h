// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/program/session.h"
#include "core/course/main_menu.h"
#include "core/course/menu_visibility.h"
#include "gui/documents/document_view.h"
#include "gui/kit/deferred_controls.h"

#include <QMainWindow>
#include <array>

class QAction;

class QDialog;
class QFrame;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace velmora {

class AboutAuthorWindow;
class CourseSearch;
class CourseSearchWindow;
class DocumentScreen;
class UserListBox;
class AboutProgramDialog;
class ProgressScreen;
class ScreenPanel;
class SignInScreen;
class TestScreen;
class AdminScreen;
class GroupJournalWindow;

// The main window "ЭУИ Velmora" (object name "Form1"). It holds the program's session and the six
// full-window screens and the menu bar. A screen is shown by making it visible and hiding the
// other five; the stacking order, front to back, is sign-in, administrator, test log, document,
// test, progress. Everything a user does arrives through the controls and the menu, whose
// component names are their Qt object names.
class MainWindow : public DeferredControls<QMainWindow> {
    Q_OBJECT
public:
    // The browser of the document screen comes from `makeView`; creating the window loads the
    // help contents page into it without changing any screen.
    explicit MainWindow(const DocumentViewFactory& makeView = createDocumentView,
                        QWidget* parent = nullptr, ControlsBuilt built = ControlsBuilt::WithWindow);
    ~MainWindow() override;

    // Who signed in, the grades, the administrator settings and the test chosen last.
    const Session& session() const { return session_; }

    // Screens, by panel number: 1 document, 2 progress, 3 test, 4 sign-in, 6 test log,
    // 7 administrator.
    QFrame* panel(int number) const;
    QFrame* documentScreen() const { return panel(1); }
    QFrame* progressScreen() const { return panel(2); }
    QFrame* testScreen() const { return panel(3); }
    QFrame* signInScreen() const { return panel(4); }
    QFrame* memoScreen() const { return panel(6); }
    QFrame* adminScreen() const { return panel(7); }
    // Puts a screen's content widget into its panel, filling it inside the bevels.
    void setScreenContent(int number, QWidget* content);
    // Makes `screen` visible and hides the other five.
    void showScreen(QFrame* screen);

    // The screens' contents; those built later are null until then.
    SignInScreen* signInContent() const { return signInContent_; }
    AdminScreen* adminContent() const { return adminContent_; }
    DocumentView* documentView() const { return documentView_; }
    // The document screen's content: the browser and its find bar.
    DocumentScreen* documentContent() const { return documentContent_; }
    QPlainTextEdit* testLogView() const { return testLogView_; } // Memo2
    TestScreen* testContent() const { return testContent_; }
    ProgressScreen* progressContent() const { return progressContent_; }
    // The progress screen's list of registered users (ComboBox1).
    UserListBox* userListBox() const;
    // The group journal window, made when "Топ журналы" is first chosen; null until then.
    GroupJournalWindow* journalWindow() const { return journalWindow_; }
    // The hidden button "Button2", kept in its place in the window; it does nothing.
    QPushButton* button2() const { return button2_; }

    // Shows the document screen and lets the browser open the program folder's `path`
    // ("\data\prak\sillabus.htm").
    void showdoc(const QString& path);

    // The menu item (or menu) with this object name, or nullptr.
    QAction* menuItem(const QString& name) const;
    // Applies the menu bar's visibility for `state`.
    void setMenuState(MenuState state);
    MenuState menuState() const { return menuState_; }
    // While a test runs, "Дәрістер және тестілеу" and "Информация об успеваемости" are hidden.
    void setTestMenusHidden(bool hidden);
    // The unlock chain: enables or disables the menu items of the lecture and the test that
    // follow the test `testKey` ("test1" … "test9"); items are found by name whatever the letter
    // case, missing ones passed over; any other key does nothing.
    void setUnlocked(const QString& testKey, bool unlocked);

    // The window "Поиск по курсу", or nullptr before it was first opened.
    CourseSearchWindow* courseSearchWindow() const { return searchWindow_; }
    // Starts bringing the course's search index up to date, off the GUI thread.
    void indexCourse();

    // The windows created after this one, which the menu commands open.
    void setCompanionWindows(QDialog* scramblingTool, AboutProgramDialog* aboutProgram,
                             AboutAuthorWindow* aboutAuthor);

Q_SIGNALS:
    // The window has closed for good: the program ends.
    void closed();
    // What the user may open has changed: a sign-in, a test passed, a sign-out.
    void accessChanged();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The controls of the test log, test, progress, sign-in and administrator screens.
    void buildDeferredControls() override;
    void buildScreens(const DocumentViewFactory& makeView);
    void buildTestLogScreen();
    void buildTestingScreens();
    void buildAccessScreens();
    void buildMenu();
    void placeOnScreen();
    void addMenuEntries(QWidget* menu, const std::vector<MenuEntry>& entries);
    QAction* addMenuEntry(QWidget* menu, const MenuEntry& entry);
    void connectEntry(QAction* action, const MenuEntry& entry);
    void applyMenuVisibility();

    // ---- handlers: window events ----
    // Creating the window: the help contents page is loaded into the browser.
    void openHelpContents();
    // The first showing: the user list and the settings are read, the sign-in screen is in front.
    void startAtSignIn();
    // Closing: the exit question, then the grades of whoever signed in are written back.
    bool confirmExit();
    void writeBackGrades();

    // ---- handlers: menu commands ----
    void exitProgram();                      // Ne
    void leaveAdminScreen();                 // N17, and SpeedButton6 of the administrator screen
    void showSignInScreen();                 // NaFormuAvtorizazii
    void showAboutProgram();                 // N26
    void showAboutAuthor();                  // N15
    void chooseTest(const QString& testKey); // test1 … test5
    void showProgress();                     // Ni
    void showTestLog();                      // N30
    void showAdminSettings();                // Ntun
    void openScramblingTool();               // nred
    void openCourseSearch();                 // NSearch
    void openSearchResult(const QString& path, const QString& word);
    void openGroupJournal(); // njournal

    // ---- handlers: controls ----
    void leaveTestLog();         // SpeedButton5
    void startTest();            // the test chosen last
    void answer(int position);   // RadioButton1 … RadioButton5, double click or keyboard
    void showChosenUserGrades(); // ComboBox1
    void leaveProgress();        // SpeedButton4
    void signIn();               // SpeedButton3
    void registerStudent();      // SpeedButton1
    void deleteStudent();        // SpeedButton2
    void applyAdminSettings();   // SpeedButton7

    // Whether the page may lead to `url`: not to a course document whose menu item is hidden or
    // disabled now. A refusal is explained in a box.
    bool mayOpenDocument(const QUrl& url);
    bool documentOffered(const QString& canonicalPath) const;
    // Every document a menu command opens: its menu entry, and whether its item is offered now
    // (visible and enabled, in menus that are too).
    struct CourseDocument {
        const MenuEntry* entry;
        QString file; // absolute path
        bool offered;
    };
    QList<CourseDocument> courseDocuments() const;

    // Steps of the handlers.
    void loadUserList();
    void readAdminSettings();
    void reopenUnlockChain();
    void completeSignIn(const QString& name, MenuState state);
    QStringList userListItems() const;
    void setUserListItems(const QStringList& names);

    // Where a test stands: asking its questions, or showing its result on the progress screen.
    // Leaving either screen by any other command ends that stage and offers the test menus again.
    enum class TestStage { None, Asking, Result };
    void endTest();
    // Appends the answer just scored to the answer log, silently.
    void logAnswer() const;
    void leaveTestStage();
    bool inFront(const QFrame* screen) const;

    Session session_;
    std::array<ScreenPanel*, 8> panels_{};
    DocumentView* documentView_ = nullptr;
    DocumentScreen* documentContent_ = nullptr;
    CourseSearch* courseSearch_ = nullptr;
    CourseSearchWindow* searchWindow_ = nullptr;
    QPlainTextEdit* testLogView_ = nullptr;
    QToolButton* testLogBack_ = nullptr;
    QPushButton* button2_ = nullptr;
    SignInScreen* signInContent_ = nullptr;
    AdminScreen* adminContent_ = nullptr;
    QDialog* scramblingTool_ = nullptr;
    AboutProgramDialog* aboutProgram_ = nullptr;
    AboutAuthorWindow* aboutAuthor_ = nullptr;
    GroupJournalWindow* journalWindow_ = nullptr;
    MenuState menuState_ = MenuState::Design;
    bool testMenusHidden_ = false;
    TestScreen* testContent_ = nullptr;
    ProgressScreen* progressContent_ = nullptr;
    TestStage testStage_ = TestStage::None;
    bool formShown_ = false;
};

} // namespace velmora
