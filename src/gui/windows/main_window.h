#pragma once

#include "core/course/main_menu.h"
#include "core/course/menu_visibility.h"
#include "core/exam/test_run.h"
#include "gui/documents/document_view.h"
#include "gui/kit/deferred_controls.h"

#include <QMainWindow>
#include <QtGlobal>
#include <array>

class QAction;
class QComboBox;
class QDialog;
class QFrame;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace velmora {

class AboutAuthorWindow;
class AboutProgramDialog;
class ProgressScreen;
class ScreenPanel;
class SignInScreen;
class TestScreen;
class AdminScreen;

// The main window "ЭУИ Velmora" (object name "Form1"). It owns the run-time state of the program
// and holds the six full-window screens and the menu bar. A screen is shown by making it visible
// and hiding the other five; the stacking order, front to back, is sign-in, administrator, memo,
// document, test, progress.
class MainWindow : public DeferredControls<QMainWindow> {
    Q_OBJECT
public:
    // The browser of the document screen comes from `makeView`; creating the window loads the
    // help contents page into it without changing any screen.
    explicit MainWindow(const DocumentViewFactory& makeView = createDocumentView,
                        QWidget* parent = nullptr, ControlsBuilt built = ControlsBuilt::WithWindow);
    ~MainWindow() override;

    // Run-time state.
    QString username;                // the signed-in user
    std::array<quint8, 13> grades{}; // grades of tests 1..12 (index 0 unused)
    quint8 signedin = 0;             // 1 once a user has signed in
    quint8 unlockflag = 0;
    QString adminlogin;
    QString adminpassword;
    QString reportfile; // path of the test log
    QString testname;   // "test1" ... of the running or last test
    TestRun testrun;    // the running or last test: question on screen, correct answers, total

    // Screens, by panel number: 1 document, 2 progress, 3 test, 4 sign-in, 6 memo, 7 administrator.
    QFrame* panel(int number) const;
    QFrame* documentScreen() const { return panel(1); }
    QFrame* progressScreen() const { return panel(2); }
    QFrame* testScreen() const { return panel(3); }
    QFrame* signInScreen() const { return panel(4); }
    QFrame* memoScreen() const { return panel(6); }
    QFrame* adminScreen() const { return panel(7); }
    // Puts a screen's content widget into its panel, filling it inside the bevels.
    void setScreenContent(int number, QWidget* content);

    // The controls of the sign-in and administrator screens.
    SignInScreen* signInContent() const { return signInContent_; }
    AdminScreen* adminContent() const { return adminContent_; }

    DocumentView* documentView() const { return documentView_; }
    QPlainTextEdit* memo2() const { return memo2_; }
    QPushButton* button2() const { return button2_; }
    TestScreen* testContent() const { return testContent_; }
    ProgressScreen* progressContent() const { return progressContent_; }
    // The progress screen's list of registered users.
    QComboBox* comboBox1() const;

    // The unlock chain: enables (`on` 1) or disables (0) the menu items of the next lecture and
    // the next test of "test1" … "test9"; items are found by name whatever the letter case,
    // missing ones passed over; any other key does nothing.
    void enable(const QString& testkey, quint8 on);

    // Makes `screen` visible and hides the other five.
    void showScreen(QFrame* screen);
    // The "Назад" commands of the administrator screen: only these two screens change.
    void leaveAdminScreen();
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

    // The windows created after this one, which the menu commands open.
    void setCompanionWindows(QDialog* scramblingTool, AboutProgramDialog* aboutProgram,
                             AboutAuthorWindow* aboutAuthor);

public Q_SLOTS:
    // Runs once, when the window is first shown.
    void FormShow();

    void NeClick();
    void N17Click();
    void SpeedButton5Click();
    void NaFormuAvtorizaziiClick();
    void N26Click();
    void N15Click();
    // A test item: remembers its name in `testname` and starts the test through `Button2`.
    void testClick(const QString& item);
    void test1Click();
    void test2Click();
    void test3Click();
    void test4Click();
    void test5Click();
    void Button2Click();
    // A double click on answer N records N and runs the common answer handler.
    void RadioButton1DblClick();
    void RadioButton2DblClick();
    void RadioButton3DblClick();
    void RadioButton4DblClick();
    void RadioButton5DblClick();
    void RadioButton6DblClick();
    void NiClick();
    void ComboBox1Select();
    void SpeedButton4Click();
    void N30Click();
    void NtunClick();
    void nredClick();

    // The sign-in screen: sign in, register, delete a registration.
    void SpeedButton3Click();
    void SpeedButton1Click();
    void SpeedButton2Click();
    // The administrator screen: "Назад" and "Применить".
    void SpeedButton6Click();
    void SpeedButton7Click();

Q_SIGNALS:
    // The window has closed for good: the program ends.
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The controls of the memo, test, progress, sign-in and administrator screens.
    void buildDeferredControls() override;
    void buildScreens(const DocumentViewFactory& makeView);
    void buildMemoScreen();
    void buildTestingScreens();
    void buildMenu();
    void placeOnScreen();
    void addMenuEntries(QWidget* menu, const std::vector<MenuEntry>& entries);
    QAction* addMenuEntry(QWidget* menu, const MenuEntry& entry);
    void connectEntry(QAction* action, const MenuEntry& entry);
    void applyMenuVisibility();

    void FormCreate();
    bool FormCloseQuery();
    void FormClose();

    // Start-up and exit steps of the user register and the administrator settings.
    void buildAccessScreens();
    void loadUserList();
    void readAdminSettings();
    void writeBackGrades();
    void reopenUnlockChain();
    void completeSignIn(const QString& name, MenuState state);
    QStringList userListItems() const;
    void setUserListItems(const QStringList& names);

    // Where a test stands: asking its questions, or showing its result on the progress screen.
    // Leaving either screen by any other command ends that stage and offers the test menus again.
    enum class TestStage { None, Asking, Result };
    void chooseAnswer(int position);
    void endTest();
    void leaveTestStage();
    bool inFront(const QFrame* screen) const;

    std::array<ScreenPanel*, 8> panels_{};
    DocumentView* documentView_ = nullptr;
    QPlainTextEdit* memo2_ = nullptr;
    QToolButton* speedButton5_ = nullptr;
    QPushButton* button2_ = nullptr;
    SignInScreen* signInContent_ = nullptr;
    AdminScreen* adminContent_ = nullptr;
    QDialog* scramblingTool_ = nullptr;
    AboutProgramDialog* aboutProgram_ = nullptr;
    AboutAuthorWindow* aboutAuthor_ = nullptr;
    MenuState menuState_ = MenuState::Design;
    bool testMenusHidden_ = false;
    TestScreen* testContent_ = nullptr;
    ProgressScreen* progressContent_ = nullptr;
    TestStage testStage_ = TestStage::None;
    int chosenAnswer_ = 0; // the answer button double-clicked last
    bool formShown_ = false;
};

} // namespace velmora
