// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/access/regrade.h"

#include "core/access/user_register.h"
#include "core/course/course_book.h"
#include "core/exam/answer_log.h"
#include "core/exam/grade_bands.h"
#include "core/exam/log_lines.h"
#include "core/exam/logged_attempts.h"
#include "core/exam/question_statistics.h"
#include "core/exam/test_log.h"
#include "core/exam/test_run.h"
#include "core/storage/code_page.h"
#include "core/storage/failure.h"
#include "core/storage/safe_file.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <cerrno>

namespace velmora {
namespace {

constexpr int kTestLogFields = 5;

// The moment of each student's last test log line for the test, by folded name.
QHash<QByteArray, qint64> lastFinished(const QString& reportfile, const QString& testname) {
    QHash<QByteArray, qint64> finished;
    const std::optional<QByteArray> text = readLogFile(TestLog::path(reportfile), nullptr);
    if (!text) {
        return finished;
    }
    const QByteArray test = CodePage::encode(testname);
    forEachLogLine(*text, [&](const LogFields& fields) {
        if (fields.size() != kTestLogFields || fields[3] != test) {
            return;
        }
        if (const std::optional<qint64> moment = logMoment(fields[1], fields[2])) {
            qint64& last = finished[CodePage::folded(fields[0])];
            last = std::max(last, *moment);
        }
    });
    return finished;
}

// Each student's last attempt that a test log line follows, by folded name.
QHash<QByteArray, LoggedAttempt> lastFinishedAttempts(const QString& reportfile,
                                                      const QString& testname) {
    const QHash<QByteArray, qint64> finished = lastFinished(reportfile, testname);
    QHash<QByteArray, LoggedAttempt> last;
    const LoggedAttempts log = LoggedAttempts::read(reportfile, testname);
    for (const LoggedAttempt& attempt : log.attempts()) {
        const auto end = finished.constFind(attempt.folded);
        if (end != finished.constEnd() && attempt.ended && *attempt.ended <= *end) {
            last.insert(attempt.folded, attempt);
        }
    }
    return last;
}

} // namespace

QString RegradeChange::text() const {
    return QStringLiteral("%1: %2 → %3").arg(name).arg(oldGrade).arg(newGrade);
}

Regrade Regrade::plan(const QString& reportfile, const QString& testname) {
    Regrade regrade;
    regrade.testname_ = testname;
    const int slot = TestRun::slotOf(testname);
    struct Current {
        QByteArray fingerprint;
        QByteArray correct;
    };
    QHash<int, Current> current;
    for (const QuestionTally& q : QuestionStatistics::questionsOf(testname)) {
        current.insert(q.number, {AnswerLog::fingerprint(q.text).toLatin1(), q.correct.toLatin1()});
    }
    const QHash<QByteArray, LoggedAttempt> attempts = lastFinishedAttempts(reportfile, testname);
    QSet<int> kept;
    for (const RegisteredUser& user : UserRegister::readAll(CourseBook::current().gradeSlots)) {
        const auto attempt = attempts.constFind(CodePage::folded(CodePage::encode(user.name)));
        // The stored grade, 0 when there is none to replace (not a number, or not 1 … 5).
        const int stored = slot <= user.grades.count() ? user.grades.grade(slot).value_or(0) : 0;
        if (!user.student || attempt == attempts.constEnd() || attempt->answers.isEmpty() ||
            stored < 1 || stored > 5 ||
            (user.registered && attempt->began && *attempt->began < logMoment(*user.registered))) {
            continue;
        }
        int right = 0;
        for (const LoggedAnswer& answer : attempt->answers) {
            const auto now = current.constFind(answer.question);
            if (now == current.constEnd() || now->fingerprint != answer.fingerprint) {
                kept.insert(answer.question);
                right += answer.right() ? 1 : 0;
            } else {
                right += answer.chosen == now->correct ? 1 : 0;
            }
        }
        const int grade = GradeBands::grade(right, static_cast<int>(attempt->answers.size()));
        if (grade != stored) {
            regrade.changes_.append({user.name, stored, grade});
        }
    }
    regrade.keptQuestions_ = kept.values();
    std::sort(regrade.keptQuestions_.begin(), regrade.keptQuestions_.end());
    return regrade;
}

QString Regrade::keptNote() const {
    if (keptQuestions_.isEmpty()) {
        return {};
    }
    QStringList numbers;
    for (const int number : keptQuestions_) {
        numbers.append(QString::number(number));
    }
    return QStringLiteral("Вопросы, изменённые с тех пор, оставлены как были: ") +
           numbers.join(QStringLiteral(", "));
}

QString Regrade::logPath(const QString& reportfile) {
    return TestLog::companionPath(reportfile, QStringLiteral("regrades"));
}

QString Regrade::logLine(const RegradeChange& change, const QDateTime& when,
                         const QString& testname) {
    return QStringList{change.name,
                       when.toString(QStringLiteral("dd.MM.yyyy")),
                       when.toString(QStringLiteral("HH:mm:ss")),
                       testname,
                       QString::number(change.oldGrade),
                       QString::number(change.newGrade)}
        .join(QStringLiteral(" | "));
}

void Regrade::apply(const QString& reportfile, const QDateTime& when) const {
    if (changes_.isEmpty()) {
        return;
    }
    QList<std::pair<QString, int>> grades;
    QString lines;
    for (const RegradeChange& change : changes_) {
        grades.append({change.name, change.newGrade});
        lines += logLine(change, when, testname_) + QStringLiteral("\r\n");
    }
    UserRegister::writeGradeOfEach(TestRun::slotOf(testname_), grades);
    const QString log = logPath(reportfile);
    const int error = log.isEmpty()
                          ? ENOENT
                          : appendToFile(log, CodePage::encode(lines), TestLog::path(reportfile));
    if (error != 0) {
        throw failures::ioError(error, log);
    }
}

} // namespace velmora
