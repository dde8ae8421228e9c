// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/kit/message_boxes.h"
#include "gui/windows/main_window.h"
#include "support/recording_document_view.h"
#include "support/temp_folder.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <set>
#include <stdexcept>

class QAction;
class QFrame;

namespace velmora {
class CourseState;
struct Session;
} // namespace velmora

namespace velmora::test {

// The object of this name and type under `root` (at any depth); throws when there is none.
template <typename T> T* findIn(const QObject& root, const QString& objectName) {
    T* found = root.findChild<T*>(objectName);
    if (found == nullptr) {
        throw std::runtime_error("no " + objectName.toStdString() + " under " +
                                 root.objectName().toStdString());
    }
    return found;
}
template <typename T> T* findIn(const QObject& root, const char* objectName) {
    return findIn<T>(root, QString::fromLatin1(objectName));
}
// The program's state a main window shows (core/program/course_state.h).
const CourseState& stateOf(const QObject& window);

// Drives the main window as a student or the teacher would: every verb goes through the real
// controls (buttons clicked, menu actions triggered, answers double-clicked) and so through the
// window's own handlers. The window works in a course folder that is the current directory, with a
// recording browser and message boxes answered from the test seam; what the boxes showed is read
// back with boxes().
class CourseDriver {
public:
    // A fresh course folder with the files start-up reads: an empty name list and the settings
    // "admin|admin|report.txt". No window yet: write more files, then start().
    CourseDriver();
    // The course folder `folder` as it stands; nothing is written to it.
    explicit CourseDriver(const TempFolder& folder);
    ~CourseDriver();
    CourseDriver(const CourseDriver&) = delete;
    CourseDriver& operator=(const CourseDriver&) = delete;

    const TempFolder& folder() const { return *folder_; }

    // ---- the window ----

    // Makes a new main window, as the program does at start-up, without showing it; a window
    // made before is dropped.
    MainWindow& create(ControlsBuilt built = ControlsBuilt::WithWindow);
    // The same with the document views that `makeView` makes (the program's own browser, for
    // instance) instead of the recording one; documentView() is then not there.
    MainWindow& create(const DocumentViewFactory& makeView);
    // Shows the window (made first if there is none): start-up runs as the window first appears.
    MainWindow& start();
    void show();
    // The program ended without its exit question and started again in the same folder.
    MainWindow& restart();
    MainWindow& window() const;
    // The control (or other object) of this object name in the main window and the windows it
    // owns; throws when there is none.
    template <typename T> T* find(const QString& objectName) const {
        return findIn<T>(window(), objectName);
    }
    template <typename T> T* find(const char* objectName) const {
        return find<T>(QString::fromLatin1(objectName));
    }
    // What the window shows: who signed in, the grades, the settings, the test, the menu state.
    const CourseState& state() const { return stateOf(window()); }
    const Session& session() const;
    RecordingDocumentView& documentView() const;

    // ---- the sign-in screen ----

    // Types a name and a password into the sign-in screen's boxes.
    void typeSignIn(const QString& name, const QString& password) const;
    // Types them and presses "Әрі қарай>>", "Жаңа қолданушы" or "Қолданушыны жою".
    void signIn(const QString& name, const QString& password) const;
    void registerStudent(const QString& name, const QString& password) const;
    void deleteStudent(const QString& name, const QString& password) const;
    // Types them and presses Enter in the password box.
    void signInWithEnter(const QString& name, const QString& password) const;

    // ---- the menu ----

    // The menu item (or menu) of this object name; throws when there is none.
    QAction* item(const QString& name) const;
    QAction* item(const char* name) const { return item(QString::fromLatin1(name)); }
    // Triggers the item's action, as a click on it does (a disabled item does nothing).
    void choose(const QString& name) const;
    void choose(const char* name) const { choose(QString::fromLatin1(name)); }
    // Whether the item is shown, and whether it can be chosen.
    bool offered(const char* name) const;
    bool enabled(const char* name) const;

    // ---- taking a test ----

    // Chooses "Тестирование №n".
    void startTest(int test) const;
    // Double-clicks answer `position` (1 … 5) of the test screen, or each in turn.
    void answer(int position) const;
    void answer(const QList<int>& positions) const;
    // Passes test `test` with grade 5: writes it as one question when the course has no such test
    // file, takes it, and leaves the result for the document screen.
    void passTest(int test) const;

    // ---- the progress screen ----

    // The grade shown for a test, and those of the tests the course's progress screen shows.
    QString gradeShown(int test) const;
    QStringList gradesShown() const;
    // The user name shown, and whether the administrator's list of users is shown.
    QString nameShown() const;
    bool userListShown() const;
    // The entries of the list of users.
    QStringList userList() const;
    // Picks entry `index` from the list's drop-down.
    void pickUser(int index) const;
    // Clears the list's text box and types `text` into it.
    void typeUserName(const QString& text) const;
    // "<<Назад".
    void leaveProgress() const;

    // ---- the test log and administrator screens ----

    QString testLogShown() const;
    // "<<Назад" of the test log screen.
    void leaveTestLog() const;
    // Types the four boxes of the administrator screen and presses "Применить".
    void applyAdminSettings(const QString& login, const QString& password,
                            const QString& passwordAgain, const QString& reportFile) const;
    // "Назад" of the administrator screen.
    void leaveAdminSettings() const;

    // ---- leaving the program ----

    // Chooses "Шығу", or closes the window with its close box, and answers the exit question.
    void exitProgram(MessageBoxes::Answer answer = MessageBoxes::Answer::Ok) const;
    void closeWindow(MessageBoxes::Answer answer = MessageBoxes::Answer::Ok) const;

    // ---- message boxes ----

    const QList<MessageBoxes::Shown>& boxes() const;
    // One "caption: text" per box.
    QStringList boxTexts() const;
    void forgetBoxes() const;

    // ---- screens ----

    // The numbers of the visible screens (1 document, 2 progress, 3 test, 4 sign-in, 6 test log,
    // 7 administrator), and the one in front of the others (0 for none).
    std::set<int> visibleScreens() const;
    int screenInFront() const;
    // Makes these screens visible and the others hidden, as a starting point.
    void setVisibleScreens(const std::set<int>& numbers) const;

    // ---- the user register ----

    // A registered student with a password and grades 1 … grades.size().
    void storeStudent(const QString& name, const QString& password, const QList<int>& grades) const;
    // The stored text of a grade.
    QString storedGrade(const QString& name, int test) const;

private:
    QFrame& panel(int number) const;

    std::unique_ptr<TempFolder> ownFolder_;
    const TempFolder* folder_ = nullptr;
    std::unique_ptr<MainWindow> window_;
    RecordingDocumentView* view_ = nullptr;
    int doubleClickInterval_ = 0;
};

} // namespace velmora::test
