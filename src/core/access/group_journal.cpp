// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/access/group_journal.h"

#include "core/access/admin_settings.h"
#include "core/access/user_list.h"
#include "core/access/user_register.h"
#include "core/course/course_book.h"
#include "core/exam/answer_log.h"
#include "core/exam/log_lines.h"
#include "core/exam/test_log.h"
#include "core/exam/test_run.h"
#include "core/storage/code_page.h"
#include "core/storage/data_path.h"
#include "core/storage/failure.h"
#include "core/storage/integer_text.h"

#include <QFileInfo>
#include <algorithm>
#include <future>

namespace velmora {
namespace {

constexpr int kLogFields = 5;
constexpr int kHighestGrade = 5;

QList<int> testsWithFiles(const CourseBook& course) {
    QList<int> tests;
    for (const CourseItem* item : course.items()) {
        if (item->kind != CourseItemKind::Test || tests.contains(item->test) ||
            item->test > std::min(course.gradeSlots, kMaxGradeSlots)) {
            continue;
        }
        const QString file =
            programFolderPath(TestRun::filePath(UserRegister::testKey(item->test)));
        if (QFileInfo(file).isFile()) {
            tests.append(item->test);
        }
    }
    std::sort(tests.begin(), tests.end());
    return tests;
}

// How many attempts of each student (folded name) and test the answer log holds, from the
// student's registration on: an attempt's answer lines begin with its first question's, or under a
// test's settings with the line of its first answer, whatever question was drawn first. The file
// is read while the register is, and the lines are counted once its moments are known.
StartedAttempts startedAttempts(const QString& path,
                                const std::shared_future<RegistrationMoments>& moments) {
    StartedAttempts started;
    const std::optional<QByteArray> text = readLogFile(path, nullptr);
    const RegistrationMoments& since = moments.get();
    if (text) {
        forEachLogLine(*text, [&](const LogFields& fields) {
            const bool first = (fields.size() == AnswerLog::kFields && fields[4] == "1") ||
                               (fields.size() == AnswerLog::kAttemptFields && fields[9] == "1");
            if (first) {
                if (const int test = TestRun::slotOf(QString::fromLatin1(fields[3]))) {
                    QByteArray name = CodePage::folded(fields[0]);
                    if (const auto registered = since.constFind(name);
                        registered != since.constEnd()) {
                        const std::optional<qint64> moment = logMoment(fields[1], fields[2]);
                        if (!moment || *moment < *registered) {
                            return; // an earlier student's of the same name
                        }
                    }
                    ++started[{std::move(name), test}];
                }
            }
        });
    }
    return started;
}

} // namespace

std::optional<int> JournalStudent::grade(int test) const {
    if (!taken(test)) {
        return std::nullopt;
    }
    const std::optional<int>& value = stored[static_cast<size_t>(test)];
    if (value && *value >= 1) {
        return value;
    }
    return attempts[static_cast<size_t>(test)].lastGrade;
}

std::optional<double> JournalStudent::mean(const QList<int>& tests) const {
    int sum = 0;
    int count = 0;
    for (const int test : tests) {
        if (const std::optional<int> g = grade(test)) {
            sum += *g;
            ++count;
        }
    }
    if (count == 0) {
        return std::nullopt;
    }
    return static_cast<double>(sum) / count;
}

GroupJournal GroupJournal::read(const QString& reportfile) {
    return read(reportfile, CourseBook::current());
}

GroupJournal GroupJournal::read(const QString& reportfile, const CourseBook& course) {
    // The answer log is by far the largest file: it is scanned on a second core meanwhile. Should
    // reading the register throw, the promise, made after `started`, is gone before `started`
    // waits for the scan, which then ends on the broken promise instead of waiting for ever.
    std::future<StartedAttempts> started;
    std::promise<RegistrationMoments> moments;
    started = std::async(std::launch::async, startedAttempts, AnswerLog::path(reportfile),
                         moments.get_future().share());
    GroupJournal journal;
    journal.tests_ = testsWithFiles(course);
    journal.passGrade_ = course.passGrade;
    journal.readAdministrator();
    journal.readRegister(std::min(course.gradeSlots, kMaxGradeSlots));
    moments.set_value(journal.registered_);
    journal.readTestLog(TestLog::path(reportfile));
    journal.countUnansweredTests(started.get());
    return journal;
}

void GroupJournal::readAdministrator() {
    try {
        administrator_ = CodePage::folded(CodePage::encode(AdminSettings::read().login));
    } catch (const Failure&) {
        // No settings: no line is the administrator's.
    }
}

void GroupJournal::readRegister(int gradeSlots) {
    const QList<RegisteredUser> users = UserRegister::readAll(gradeSlots);
    QHash<QByteArray, const RegisteredUser*> userOf;
    for (const RegisteredUser& user : users) {
        userOf.insert(CodePage::folded(CodePage::encode(user.name)), &user);
    }
    // The list's names in order, each once; then the register's students the list lacks.
    QList<std::pair<QString, bool>> names;
    try {
        const UserList list = UserList::load();
        for (const QString& name : list.names()) {
            names.append({name, true});
        }
    } catch (const Failure&) {
        // No list: every student of the register is shown as missing from it.
    }
    QHash<QByteArray, bool> seen;
    for (const auto& [name, listed] : names) {
        seen.insert(CodePage::folded(CodePage::encode(name)), true);
    }
    for (const RegisteredUser& user : users) {
        const QByteArray key = CodePage::folded(CodePage::encode(user.name));
        if (user.student && !seen.contains(key)) {
            seen.insert(key, true);
            names.append({user.name, false});
        }
    }
    for (const auto& [name, listed] : names) {
        const QByteArray key = CodePage::folded(CodePage::encode(name));
        if (name.isEmpty() || rows_.contains(key)) {
            continue;
        }
        JournalStudent student;
        student.name = name;
        student.listed = listed;
        if (const RegisteredUser* user = userOf.value(key)) {
            for (int test = 1; test <= user->grades.count(); ++test) {
                const std::optional<int> value = integerValue(user->grades.text(test));
                if (value && *value >= 0 && *value <= kHighestGrade) {
                    student.stored[static_cast<size_t>(test)] = value;
                }
            }
            // A moment that cannot be read leaves the section read as an older register's.
            if (user->registered) {
                registered_.insert(key, logMoment(*user->registered));
            }
        }
        rows_.insert(key, static_cast<int>(students_.size()));
        students_.append(student);
    }
}

void GroupJournal::readTestLog(const QString& path) {
    const std::optional<QByteArray> text = readLogFile(path, &logProblem_);
    if (!text) {
        return;
    }
    forEachLogLine(*text, [&](const LogFields& fields) {
        const bool whole = fields.size() == kLogFields;
        const int test = whole ? TestRun::slotOf(QString::fromLatin1(fields[3])) : 0;
        const int grade = whole ? logNumber(fields[4]).value_or(-1) : -1;
        if (test == 0 || !tests_.contains(test) || grade < 0 || grade > kHighestGrade) {
            ++skippedLogLines_;
            return;
        }
        // A line without a moment that exists ("25:99:00", "32.13.2025") is no finished test.
        const std::optional<qint64> moment = logMoment(fields[1], fields[2]);
        if (!moment) {
            ++skippedLogLines_;
            return;
        }
        const QByteArray name = CodePage::folded(fields[0]);
        const int row = rows_.value(name, -1);
        if (row < 0) {
            // The administrator's trial runs are no student's; any other name (a student deleted
            // since, a name typed into the log) has no row to show the line in.
            if (administrator_.isEmpty() || name != administrator_) {
                ++skippedLogLines_;
            }
            return;
        }
        if (const auto since = registered_.constFind(name);
            since != registered_.constEnd() && *moment < *since) {
            return; // an earlier student's of the same name
        }
        JournalAttempts& attempts = students_[row].attempts[static_cast<size_t>(test)];
        ++attempts.count;
        attempts.last =
            QString::fromLatin1(fields[2]) + QLatin1Char(' ') + QString::fromLatin1(fields[1]);
        attempts.lastGrade = grade;
    });
}

void GroupJournal::countUnansweredTests(const StartedAttempts& started) {
    for (const JournalStudent& student : students_) {
        const QByteArray name = CodePage::folded(CodePage::encode(student.name));
        for (const int test : tests_) {
            const int finished = student.attempts[static_cast<size_t>(test)].count;
            testsWithoutAnswers_ += std::max(0, finished - started.value({name, test}));
        }
    }
}

JournalTestSummary GroupJournal::summary(int test) const {
    JournalTestSummary result;
    int sum = 0;
    int passed = 0;
    for (const JournalStudent& student : students_) {
        if (const std::optional<int> g = student.grade(test)) {
            ++result.taken;
            sum += *g;
            passed += *g >= passGrade_ ? 1 : 0;
            if (*g >= 1) {
                ++result.counts[static_cast<size_t>(*g)];
            }
        }
    }
    if (result.taken > 0) {
        result.mean = static_cast<double>(sum) / result.taken;
        result.passedShare = static_cast<double>(passed) / result.taken;
    }
    return result;
}

QStringList GroupJournal::notes() const {
    QStringList notes;
    if (!logProblem_.isEmpty()) {
        notes.append(QStringLiteral("журнал тестов не прочитан: %1").arg(logProblem_));
    }
    if (skippedLogLines_ > 0) {
        notes.append(QStringLiteral("строк журнала пропущено: %1").arg(skippedLogLines_));
    }
    if (testsWithoutAnswers_ > 0) {
        notes.append(QStringLiteral("тестов без строк ответов: %1").arg(testsWithoutAnswers_));
    }
    return notes;
}

} // namespace velmora
