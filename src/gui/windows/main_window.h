// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/exam/attempt_file.h"
#include "core/exam/time_limit.h"
#include "gui/documents/document_view.h"
#include "gui/kit/deferred_controls.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QList>
#include <QMainWindow>
#include <array>
#include <optional>

class QAction;

class QDialog;
class QFrame;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class QToolButton;

namespace velmora {

struct CourseItem;
struct CourseMenu;
class CourseState;
struct ProgramEntry;
enum class Screen;
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
class ReviewWindow;

// The main window of the course (object name "Form1"). It shows the program's state (a
// CourseState, object name "courseState"), the six full-window screens and the menu bar built from
// the course, then the program's own menus. A screen is shown by making it visible and hiding the
// other five; the stacking order, front to back, is sign-in, administrator, test log, document,
// test, progress. Everything a user does arrives through the controls and the menu, whose
// component names are their Qt object names.
class MainWindow : public DeferredControls<QMainWindow> {
    Q_OBJECT
public:
    // The browser of the document screen comes from `makeView`; creating the window loads the
    // course's help page into it without changing any screen. The window shows the course of
    // the program folder.
    explicit MainWindow(const DocumentViewFactory& makeView = createDocumentView,
                        QWidget* parent = nullptr, ControlsBuilt built = ControlsBuilt::WithWindow);
    ~MainWindow() override;

    // Starts bringing the course's search index up to date, off the GUI thread.
    void indexCourse();

    // The windows created after this one, which the menu commands open.
    void setCompanionWindows(QDialog* scramblingTool, AboutProgramDialog* aboutProgram,
                             AboutAuthorWindow* aboutAuthor);

Q_SIGNALS:
    // The window has closed for good: the program ends.
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The controls of the test log, test, progress, sign-in and administrator screens.
    void buildDeferredControls() override;
    void buildScreens(const DocumentViewFactory& makeView);
    void buildTestLogScreen();
    void buildTestingScreens();
    void buildAccessScreens();
    void buildMenu();
    void placeOnScreen();
    QAction* addMenuAction(QWidget* menu, const QString& name, const QString& caption,
                           const QString& icon);
    QMenu* addSubMenu(QWidget* menu, const QString& name, const QString& caption);
    void finishSubMenu(QWidget* menu, QMenu* sub);
    static void setMenuIcon(QAction* action, const QString& icon);
    void addCourseMenu(const CourseMenu& courseMenu);
    void addProgramEntry(QWidget* menu, const ProgramEntry& entry);
    void connectCourseItem(QAction* action, const CourseItem& item);
    void connectCommand(QAction* action, const QString& name);
    // Shows the state: every menu and item visible and enabled as the state says.
    void applyState();

    // Screens, by panel number: 1 document, 2 progress, 3 test, 4 sign-in, 6 test log,
    // 7 administrator.
    QFrame* panel(Screen screen) const;
    // Puts a screen's content widget into its panel, filling it inside the bevels.
    void setScreenContent(Screen screen, QWidget* content);
    // Makes `screen` visible and hides the other five.
    void showScreen(Screen screen);
    // Shows or hides one screen, leaving the others as they are.
    void setScreenVisible(Screen screen, bool visible);
    // The screen in front of the others, told to the state after each change of screens.
    Screen screenInFront() const;
    // Puts the keyboard focus on the screen in front when it was left on a hidden one.
    void focusFrontScreen();
    // Shows the document screen and lets the browser open the course file `path`
    // ("data/prak/sillabus.htm").
    void showdoc(const QString& path);

    // ---- handlers: window events ----
    // Creating the window: the help page is loaded into the browser.
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
    void chooseTest(const QString& testKey); // the course's test items
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

    // Steps of the handlers.
    void loadUserList();
    void readAdminSettings();
    void completeSignIn();
    QStringList userListItems() const;
    void setUserListItems(const QStringList& names);
    UserListBox* userListBox() const;
    void endTest();
    // Appends the answer just scored to the answer log, silently.
    void logAnswer() const;
    // Saves the running attempt of a test with settings, silently.
    void saveAttempt() const;
    // After a student's sign-in: their unfinished attempt, if any, is offered to go on.
    void offerUnfinishedAttempt();
    // Shows the test screen with a question of the running test, and its time left under a limit
    // of which `spentMs` were spent before.
    void showTestScreen(const Question& question, qint64 spentMs);
    // The time limit's clock: each tick shows the time left, warns once at one minute, and at zero
    // ends the test.
    void tickClock();
    // Puts a question of the test running on the test screen, with its place in the test.
    void showQuestion(const Question& question);
    void stopClock();
    // After the grade of a test whose course asks for it: the review of the attempt.
    void showReview();

    CourseState* state_ = nullptr;
    QList<QAction*> actions_; // every menu and item of the menu bar
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
    TestScreen* testContent_ = nullptr;
    ProgressScreen* progressContent_ = nullptr;
    bool formShown_ = false;
    QTimer* clock_ = nullptr;
    QElapsedTimer running_; // monotonic: a system clock set back gives no extra time
    std::optional<TimeLimit> limit_;
    bool warned_ = false;
    std::optional<Attempt> finished_; // the attempt graded last, for its review
    QDateTime testBegan_;             // when the test on the test screen began, for its results
    ReviewWindow* reviewWindow_ = nullptr;
};

} // namespace velmora
