// SPDX-License-Identifier: GPL-3.0-or-later
#include "admin_command.h"

#include "core/access/admin_settings.h"
#include "core/course/course_book.h"
#include "core/exam/attempt_review.h"

namespace velmora::admin {
namespace {

int show(const QStringList& args, QTextStream& out, QTextStream& err) {
    const QString& name = args[0];
    std::optional<Attempt> attempt = AttemptFile::load(name);
    const bool unfinished = attempt.has_value();
    if (!attempt) {
        const CourseBook& course = CourseBook::current();
        attempt = AttemptReview::lastLogged(AdminSettings::read().reportFile, name,
                                            [&](int test) { return course.testSettings(test); });
    }
    if (!attempt) {
        err << "velmora-admin: no attempt of " << name
            << " under a test's settings in the answer log\n";
        return 1;
    }
    out << name << ", " << attempt->testname << ", seed " << seedText(attempt->plan.seed)
        << (unfinished ? ", unfinished" : "") << "\n";
    out << AttemptReview::text(*attempt);
    return 0;
}

} // namespace

QList<AdminCommand> attemptCommands() {
    return {
        {{QStringLiteral("attempt"), QStringLiteral("show")},
         QStringLiteral("NAME"),
         QStringLiteral("print a student's last attempt at a test with settings as they saw it"),
         QStringLiteral(
             "Prints the last attempt of the student NAME at a test with settings (draw,\n"
             "shuffle_answers, minutes or review in course.toml): the student's unfinished\n"
             "attempt when there is one, otherwise the last one the answer log holds, its\n"
             "questions and answer orders made again from the seed the log records. A first\n"
             "line names the student, the test and the seed; then each question asked, in\n"
             "order, with the answer chosen and the right one under the letters the student\n"
             "saw. Exit status 1 when there is no such attempt. Nothing is written."),
         1,
         show},
    };
}

} // namespace velmora::admin
