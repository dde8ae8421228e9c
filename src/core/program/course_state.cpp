// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/program/course_state.h"

#include "core/access/user_register.h"
#include "core/access/view_preferences.h"
#include "core/storage/data_path.h"

#include <QFileInfo>
#include <QScopeGuard>
#include <algorithm>

namespace velmora {

CourseState::CourseState(const CourseBook& course, QObject* parent)
    : QObject(parent), course_(course) {
    session_.gradeSlots = course_.gradeSlots;
    for (const CourseMenu& menu : course_.menus) {
        entries_.insert(menu.name, Entry{&menu, nullptr, nullptr});
        for (const CourseItem& item : menu.items) {
            entries_.insert(item.name, Entry{nullptr, &item, nullptr});
        }
    }
    addProgramEntries(programMenus());
}

void CourseState::addProgramEntries(const std::vector<ProgramEntry>& entries) {
    for (const ProgramEntry& entry : entries) {
        entries_.insert(entry.name, Entry{nullptr, nullptr, &entry});
        addProgramEntries(entry.entries);
    }
}

bool CourseState::isVisible(const QString& name) const {
    const auto found = entries_.constFind(name);
    if (found == entries_.constEnd()) {
        return true;
    }
    const bool testRunning = testStage_ != TestStage::None;
    if (const CourseMenu* menu = found->courseMenu) {
        if (testRunning && menu->holdsTest()) {
            return false;
        }
        switch (menuState_) {
        case MenuState::Design:
            return menu->beforeSignIn || menu->holdsTest();
        case MenuState::BeforeSignIn:
            return menu->beforeSignIn;
        case MenuState::Student:
        case MenuState::Administrator:
            return true;
        }
    }
    if (const ProgramEntry* entry = found->programEntry) {
        return entry->shown(menuState_) && !(testRunning && entry->hiddenDuringTest);
    }
    return true;
}

bool CourseState::isEnabled(const QString& name) const {
    const auto found = entries_.constFind(name);
    if (found == entries_.constEnd() || found->courseItem == nullptr) {
        return true;
    }
    const int after = found->courseItem->afterTest;
    return after == 0 || !lockedTests_.contains(after);
}

bool CourseState::offered(const QString& menu, const QString& item) const {
    return isVisible(menu) && isEnabled(menu) && isVisible(item) && isEnabled(item);
}

QList<OfferedDocument> CourseState::documents() const {
    QList<OfferedDocument> documents;
    for (const CourseMenu& menu : course_.menus) {
        for (const CourseItem& item : menu.items) {
            if (item.kind == CourseItemKind::Document) {
                documents.append(
                    {item.name, item.caption, item.document, offered(menu.name, item.name)});
            }
        }
    }
    for (const ProgramEntry& menu : programMenus()) {
        for (const ProgramEntry& entry : menu.entries) {
            if (entry.opensHelp) {
                documents.append(
                    {entry.name, entry.caption, course_.help, offered(menu.name, entry.name)});
            }
        }
    }
    return documents;
}

QStringList CourseState::offeredDocuments() const {
    QStringList paths;
    for (const OfferedDocument& document : documents()) {
        if (document.offered) {
            paths.append(document.path);
        }
    }
    return paths;
}

bool CourseState::mayOpen(const QString& canonicalPath) const {
    bool opened = false;
    for (const OfferedDocument& document : documents()) {
        if (QFileInfo(filePath(document.path)).canonicalFilePath() == canonicalPath) {
            if (document.offered) {
                return true;
            }
            opened = true;
        }
    }
    return !opened;
}

QString CourseState::filePath(const QString& coursePath) {
    QString relative = QLatin1Char('\\') + coursePath;
    return programFolderPath(relative.replace(QLatin1Char('/'), QLatin1Char('\\')));
}

// ---- changes ----

void CourseState::setAdminSettings(const AdminSettings& settings) {
    session_.admin = settings;
}

void CourseState::start() {
    session_.signedIn = false;
    menuState_ = MenuState::BeforeSignIn;
    Q_EMIT changed();
}

void CourseState::signInAdministrator(const QString& name) {
    lockedTests_.clear();
    completeSignIn(name, MenuState::Administrator);
}

void CourseState::signInStudent(const QString& name) {
    // Locks left by an earlier attempt that stopped half-way are dropped first, so the locks
    // follow the grades of the user signing in alone.
    lockedTests_.clear();
    const auto announce = qScopeGuard([this] { Q_EMIT changed(); });
    UserRegister::readGrades(name, gradesRead()).takeInOrder([&](int test, quint8 grade) {
        session_.setGrade(test, grade);
        if (!course_.passes(grade)) {
            lockedTests_.insert(test);
        }
    });
    completeSignIn(name, MenuState::Student);
}

int CourseState::gradesRead() const {
    return std::min(std::max(course_.shownTests, course_.highestTest()),
                    static_cast<int>(session_.grades.size()) - 1);
}

void CourseState::setHighContrast(bool on) {
    if (on != highContrast_) {
        highContrast_ = on;
        Q_EMIT changed();
    }
    if (session_.signedIn) {
        ViewPreferences::setHighContrast(session_.userName, on);
    }
}

void CourseState::completeSignIn(const QString& name, MenuState state) {
    session_.signIn(name);
    menuState_ = state;
    // The look the user chose last; without a choice the look stays as it is.
    highContrast_ = ViewPreferences::highContrast(name).value_or(highContrast_);
    Q_EMIT changed();
}

void CourseState::showGradesOf(const QString& name) {
    const auto announce = qScopeGuard([this] { Q_EMIT changed(); });
    UserRegister::readGrades(name).takeInOrder(
        [&](int test, quint8 grade) { session_.setGrade(test, grade); });
}

void CourseState::chooseTest(const QString& testKey) {
    session_.testName = testKey;
}

TestSettings CourseState::chosenTestSettings() const {
    return course_.testSettings(TestRun::slotOf(session_.testName));
}

std::optional<Question> CourseState::startTest() {
    std::optional<Question> first =
        session_.testRun.start(session_.testName, chosenTestSettings(), newAttemptSeed());
    if (first) {
        testStage_ = TestStage::Asking;
        Q_EMIT changed();
    }
    return first;
}

std::optional<Question> CourseState::answer(int position) {
    if (testStage_ != TestStage::Asking) {
        return std::nullopt; // a finished or abandoned test is never scored again
    }
    return session_.testRun.answer(position);
}

std::optional<Question> CourseState::resumeTest(const Attempt& attempt) {
    session_.testName = attempt.testname;
    std::optional<Question> next =
        session_.testRun.resume(attempt.testname, attempt.plan, attempt.chosen, attempt.started);
    testStage_ = TestStage::Asking;
    Q_EMIT changed();
    return next;
}

void CourseState::closeAttempt(const Attempt& attempt) {
    session_.testName = attempt.testname;
    session_.testRun.close(attempt.testname, int(attempt.plan.sections.size()), attempt.correct);
    testStage_ = TestStage::Asking;
    Q_EMIT changed();
}

void CourseState::endTestNow() {
    if (testStage_ == TestStage::Asking) {
        session_.testRun.endNow();
    }
}

std::optional<Attempt> CourseState::attempt() const {
    const TestRun& run = session_.testRun;
    if (!run.plan()) {
        return std::nullopt;
    }
    return Attempt{session_.userName, run.testname(), *run.plan(),   run.chosen(),
                   run.correct(),     run.started(),  run.fileMark()};
}

TestOutcome CourseState::passTest() {
    const TestOutcome outcome = session_.testRun.outcome();
    session_.recordGrade(outcome);
    const std::span<const quint8> grades = session_.testGrades();
    for (size_t index = 0; index < grades.size(); ++index) {
        if (course_.passes(grades[index])) {
            lockedTests_.remove(static_cast<int>(index) + 1);
        }
    }
    testStage_ = TestStage::Result;
    Q_EMIT changed();
    return outcome;
}

void CourseState::leaveTest() {
    if (testStage_ != TestStage::None) {
        testStage_ = TestStage::None;
        Q_EMIT changed();
    }
}

void CourseState::frontScreenChanged(Screen front) {
    if ((testStage_ == TestStage::Asking && front != Screen::Test) ||
        (testStage_ == TestStage::Result && front != Screen::Progress)) {
        leaveTest();
    }
}

} // namespace velmora
