// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/course_driver.h"

#include "core/course/course_book.h"

#include "core/access/user_register.h"
#include "core/program/course_state.h"
#include "core/storage/scrambled_store.h"
#include "gui/screens/admin_screen.h"
#include "gui/screens/progress_screen.h"
#include "gui/screens/sign_in_screen.h"
#include "gui/screens/test_screen.h"
#include "gui/screens/user_list_box.h"
#include "support/test_file_builder.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <stdexcept>

namespace velmora::test {
namespace {

constexpr std::array kScreens{1, 2, 3, 4, 6, 7};
// Front to back.
constexpr std::array kStackingOrder{4, 7, 6, 1, 3, 2};

template <typename T> T* needed(T* control, const char* what) {
    if (control == nullptr) {
        throw std::runtime_error(std::string("no ") + what + " (is the window made?)");
    }
    return control;
}

} // namespace

const CourseState& stateOf(const QObject& window) {
    return *findIn<CourseState>(window, "courseState");
}

const Session& CourseDriver::session() const {
    return state().session();
}

QFrame& CourseDriver::panel(int number) const {
    return *find<QFrame>(QStringLiteral("Panel%1").arg(number));
}

CourseDriver::CourseDriver()
    : ownFolder_(std::make_unique<TempFolder>()), folder_(ownFolder_.get()),
      doubleClickInterval_(QApplication::doubleClickInterval()) {
    folder_->write(QStringLiteral("users"), QByteArray());
    folder_->write(QStringLiteral("data/info/tumb.db"), "admin|admin|report.txt\r\n");
    MessageBoxes::setHeadless(true);
    MessageBoxes::clearShown();
    // Double clicks come as fast as the test sends them: none is taken for a hasty one.
    QApplication::setDoubleClickInterval(0);
}

CourseDriver::CourseDriver(const TempFolder& folder)
    : folder_(&folder), doubleClickInterval_(QApplication::doubleClickInterval()) {
    MessageBoxes::setHeadless(true);
    MessageBoxes::clearShown();
    QApplication::setDoubleClickInterval(0);
}

CourseDriver::~CourseDriver() {
    window_.reset();
    QApplication::setDoubleClickInterval(doubleClickInterval_);
}

// ---- the window ----

MainWindow& CourseDriver::create(ControlsBuilt built) {
    window_.reset();
    window_ = std::make_unique<MainWindow>(RecordingDocumentView::factory(), nullptr, built);
    view_ = RecordingDocumentView::last();
    return *window_;
}

MainWindow& CourseDriver::create(const DocumentViewFactory& makeView) {
    window_.reset();
    view_ = nullptr;
    window_ = std::make_unique<MainWindow>(makeView);
    return *window_;
}

MainWindow& CourseDriver::start() {
    if (!window_) {
        create();
    }
    show();
    return *window_;
}

void CourseDriver::show() {
    window().show();
}

MainWindow& CourseDriver::restart() {
    create();
    return start();
}

MainWindow& CourseDriver::window() const {
    return *needed(window_.get(), "main window");
}

RecordingDocumentView& CourseDriver::documentView() const {
    return *needed(view_, "document view");
}

// ---- the sign-in screen ----

void CourseDriver::typeSignIn(const QString& name, const QString& password) const {
    const SignInScreen* screen = find<SignInScreen>("signInScreen");
    screen->nameBox()->setText(name);
    screen->passwordBox()->setText(password);
}

void CourseDriver::signIn(const QString& name, const QString& password) const {
    typeSignIn(name, password);
    find<SignInScreen>("signInScreen")->signInButton()->click();
}

void CourseDriver::registerStudent(const QString& name, const QString& password) const {
    typeSignIn(name, password);
    find<SignInScreen>("signInScreen")->registerButton()->click();
}

void CourseDriver::deleteStudent(const QString& name, const QString& password) const {
    typeSignIn(name, password);
    find<SignInScreen>("signInScreen")->deleteButton()->click();
}

void CourseDriver::signInWithEnter(const QString& name, const QString& password) const {
    typeSignIn(name, password);
    QTest::keyClick(find<SignInScreen>("signInScreen")->passwordBox(), Qt::Key_Return);
}

// ---- the menu ----

QAction* CourseDriver::item(const QString& name) const {
    return find<QAction>(name);
}

void CourseDriver::choose(const QString& name) const {
    item(name)->trigger();
}

bool CourseDriver::offered(const char* name) const {
    return item(name)->isVisible();
}

bool CourseDriver::enabled(const char* name) const {
    return item(name)->isEnabled();
}

// ---- taking a test ----

void CourseDriver::startTest(int test) const {
    choose(QStringLiteral("test%1").arg(test));
}

void CourseDriver::answer(int position) const {
    const TestScreen* screen = find<TestScreen>("TestScreen");
    QTest::mouseDClick(screen->answerButton(position), Qt::LeftButton, {}, QPoint(8, 8));
}

void CourseDriver::answer(const QList<int>& positions) const {
    for (const int position : positions) {
        answer(position);
    }
}

void CourseDriver::passTest(int test) const {
    const QString key = UserRegister::testKey(test);
    if (!QFileInfo::exists(QStringLiteral("data/tests/%1.ini").arg(key))) {
        writeTestFile(key, numberedQuestions({1}), QStringLiteral("1"));
    }
    startTest(test);
    answer(1);
    leaveProgress();
}

// ---- the progress screen ----

QString CourseDriver::gradeShown(int test) const {
    const ProgressScreen* screen = find<ProgressScreen>("ProgressScreen");
    return needed(screen->findChild<QLabel*>(QStringLiteral("Label%1").arg(17 + test)),
                  "grade label")
        ->text();
}

QStringList CourseDriver::gradesShown() const {
    QStringList grades;
    for (int test = 1; test <= CourseBook::current().shownTests; ++test) {
        grades.append(gradeShown(test));
    }
    return grades;
}

QString CourseDriver::nameShown() const {
    const ProgressScreen* screen = find<ProgressScreen>("ProgressScreen");
    return needed(screen->findChild<QLabel*>(QStringLiteral("Label5")), "name label")->text();
}

bool CourseDriver::userListShown() const {
    return find<UserListBox>("ComboBox1")->isVisibleTo(find<QFrame>("Panel2"));
}

QStringList CourseDriver::userList() const {
    const QComboBox* list = find<UserListBox>("ComboBox1");
    QStringList names;
    for (int i = 0; i < list->count(); ++i) {
        names.append(list->itemText(i));
    }
    return names;
}

void CourseDriver::pickUser(int index) const {
    QComboBox* list = find<UserListBox>("ComboBox1");
    list->showPopup();
    QAbstractItemView* view = list->view();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->visualRect(view->model()->index(index, 0)).center());
}

void CourseDriver::typeUserName(const QString& text) const {
    QLineEdit* edit = find<UserListBox>("ComboBox1")->lineEdit();
    edit->clear();
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

void CourseDriver::leaveProgress() const {
    needed(find<QFrame>("Panel2")->findChild<QToolButton*>(QStringLiteral("SpeedButton4")),
           "progress screen's back button")
        ->click();
}

// ---- the test log and administrator screens ----

QString CourseDriver::testLogShown() const {
    return find<QPlainTextEdit>("Memo2")->toPlainText();
}

void CourseDriver::leaveTestLog() const {
    needed(find<QFrame>("Panel6")->findChild<QToolButton*>(QStringLiteral("SpeedButton5")),
           "test log screen's back button")
        ->click();
}

void CourseDriver::applyAdminSettings(const QString& login, const QString& password,
                                      const QString& passwordAgain,
                                      const QString& reportFile) const {
    const AdminScreen* screen = find<AdminScreen>("adminScreen");
    screen->loginBox()->setText(login);
    screen->passwordBox()->setText(password);
    screen->passwordAgainBox()->setText(passwordAgain);
    screen->reportFileBox()->setText(reportFile);
    screen->applyButton()->click();
}

void CourseDriver::leaveAdminSettings() const {
    find<AdminScreen>("adminScreen")->backButton()->click();
}

// ---- leaving the program ----

void CourseDriver::exitProgram(MessageBoxes::Answer answer) const {
    MessageBoxes::setNextAnswer(answer);
    choose("Ne");
}

void CourseDriver::closeWindow(MessageBoxes::Answer answer) const {
    MessageBoxes::setNextAnswer(answer);
    window().close();
}

// ---- message boxes ----

const QList<MessageBoxes::Shown>& CourseDriver::boxes() const {
    return MessageBoxes::shown();
}

QStringList CourseDriver::boxTexts() const {
    QStringList texts;
    for (const MessageBoxes::Shown& box : MessageBoxes::shown()) {
        texts.append(box.caption + QStringLiteral(": ") + box.text);
    }
    return texts;
}

void CourseDriver::forgetBoxes() const {
    MessageBoxes::clearShown();
}

// ---- screens ----

std::set<int> CourseDriver::visibleScreens() const {
    std::set<int> numbers;
    for (const int n : kScreens) {
        if (!panel(n).isHidden()) {
            numbers.insert(n);
        }
    }
    return numbers;
}

int CourseDriver::screenInFront() const {
    for (const int n : kStackingOrder) {
        if (!panel(n).isHidden()) {
            return n;
        }
    }
    return 0;
}

void CourseDriver::setVisibleScreens(const std::set<int>& numbers) const {
    for (const int n : kScreens) {
        panel(n).setVisible(numbers.contains(n));
    }
}

// ---- the user register ----

void CourseDriver::storeStudent(const QString& name, const QString& password,
                                const QList<int>& grades) const {
    IniValues values{{QStringLiteral("password"), password}};
    for (qsizetype n = 1; n <= grades.size(); ++n) {
        values.append({UserRegister::testKey(static_cast<int>(n)), QString::number(grades[n - 1])});
    }
    writeiniValues(name, values, UserRegister::path());
}

QString CourseDriver::storedGrade(const QString& name, int test) const {
    return readini(name, UserRegister::testKey(test), UserRegister::path());
}

} // namespace velmora::test
