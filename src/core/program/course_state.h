// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/course/course_book.h"
#include "core/exam/attempt_file.h"
#include "core/program/program_menus.h"
#include "core/program/session.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>

namespace velmora {

// Where a test stands: asking its questions, or showing its result on the progress screen.
enum class TestStage { None, Asking, Result };

// The main window's full-window screens, by panel number.
enum class Screen {
    None = 0,
    Document = 1,
    Progress = 2,
    Test = 3,
    SignIn = 4,
    TestLog = 6,
    Administrator = 7,
};

// A document a menu item opens, and whether that item is offered now.
struct OfferedDocument {
    QString name;    // the item's object name ("N13")
    QString caption; // the item's caption
    QString path;    // in the course folder, with "/" ("data/prak/sillabus.htm")
    bool offered = false;
};

// The program's state while it runs: the session (who signed in, the grades, the settings, the
// test), whom the menu serves, which course items are locked and where a test stands. It changes
// only through its methods and says so with changed(); the main window shows it. Whether a menu or
// item is shown and can be chosen follows from the course and this state alone.
class CourseState : public QObject {
    Q_OBJECT
public:
    explicit CourseState(const CourseBook& course, QObject* parent = nullptr);

    const CourseBook& course() const { return course_; }
    const Session& session() const { return session_; }
    MenuState menuState() const { return menuState_; }
    TestStage testStage() const { return testStage_; }
    // Whether every window is shown in the high-contrast look.
    bool highContrast() const { return highContrast_; }

    // Whether the menu or item of this object name is shown, and can be chosen. Names the menu
    // bar does not hold are shown and enabled.
    bool isVisible(const QString& name) const;
    bool isEnabled(const QString& name) const;

    // Every document a menu item opens, the course's in menu order, then the help.
    QList<OfferedDocument> documents() const;
    // The paths of the documents offered now: visible, enabled items in visible, enabled menus.
    QStringList offeredDocuments() const;
    // Whether a page may lead to the file `canonicalPath`: one no item opens, or one an item
    // offered now opens.
    bool mayOpen(const QString& canonicalPath) const;
    // The file of a course path ("data/prak/sillabus.htm") in the program folder.
    static QString filePath(const QString& coursePath);

    // ---- changes ----

    // The administrator settings as read at start-up.
    void setAdminSettings(const AdminSettings& settings);
    // The window first shown: nobody has signed in, the menu is the sign-in screen's.
    void start();
    // Switches the high-contrast look on or off; it is remembered for the user signed in, who gets
    // it back at their next sign-in. Throws when it cannot be remembered (the look has changed).
    void setHighContrast(bool on);
    // The administrator signs in: every item is open.
    void signInAdministrator(const QString& name);
    // A student signs in: their grades are read from the register in one read, in order, and each
    // item that follows a test graded below the pass grade is locked. A grade that is not a number
    // throws after the earlier grades and locks were applied, and nobody is signed in.
    void signInStudent(const QString& name);
    // The grades of `name` replace the session's, as the progress screen's user list shows them.
    void showGradesOf(const QString& name);

    // A test item was chosen: the test named by its key ("test1") is the one to start.
    void chooseTest(const QString& testKey);
    // The settings of the test chosen last.
    TestSettings chosenTestSettings() const;
    // Starts the chosen test as its settings say, with a fresh seed: its first question, the test
    // stage asking. Nothing changes when the test has no question.
    std::optional<Question> startTest();
    // Scores an answer (1 … 5) of the test asking: the next question, or nothing once the last
    // was answered (or when no test asks).
    std::optional<Question> answer(int position);
    // Goes on with a saved attempt of the student signed in, at its next unanswered question with
    // the same draw and orders: the test stage asking. Nothing when every question was answered
    // (the attempt is then ready to end).
    std::optional<Question> resumeTest(const Attempt& attempt);
    // Takes a saved attempt as it stands, to be ended at once: the answers given so far as they
    // were scored, the questions not answered wrong.
    void closeAttempt(const Attempt& attempt);
    // Ends the test asking now: the questions not yet answered count as wrong.
    void endTestNow();
    // The attempt running, as the attempt file keeps it; nothing for a test without settings.
    std::optional<Attempt> attempt() const;
    // The last question was answered: the grade goes into its slot, the items after each passed
    // test open, and the result is shown.
    TestOutcome passTest();
    // The test or its result was left: the test menus are offered again.
    void leaveTest();
    // Another screen is in front now; leaving the test's screen (or its result's) leaves the test.
    void frontScreenChanged(Screen front);

Q_SIGNALS:
    void changed();

private:
    // What a menu bar name stands for.
    struct Entry {
        const CourseMenu* courseMenu = nullptr;
        const CourseItem* courseItem = nullptr;
        const ProgramEntry* programEntry = nullptr;
    };
    void addProgramEntries(const std::vector<ProgramEntry>& entries);
    void completeSignIn(const QString& name, MenuState state);
    bool offered(const QString& menu, const QString& item) const;
    // How many grades a sign-in reads: the progress screen's and every test of the course.
    int gradesRead() const;

    const CourseBook& course_;
    QHash<QString, Entry> entries_;
    Session session_;
    MenuState menuState_ = MenuState::Design;
    TestStage testStage_ = TestStage::None;
    QSet<int> lockedTests_; // tests whose following items are locked until they are passed
    bool highContrast_ = false;
};

} // namespace velmora
