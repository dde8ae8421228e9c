// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exam/logged_attempts.h"

#include "core/exam/answer_log.h"
#include "core/exam/log_lines.h"
#include "core/storage/code_page.h"

#include <QFileInfo>
#include <QHash>

namespace velmora {
namespace {

bool isAnswerLetter(QByteArrayView field) {
    return field.size() == 1 && field[0] >= 'A' && field[0] <= 'E';
}

// The open attempt of each student: its place in the list and its seed.
struct Open {
    qsizetype index = 0;
    QByteArray seed;
};

} // namespace

LoggedAttempts LoggedAttempts::read(const QString& reportfile, const QString& testname) {
    const QString path = AnswerLog::path(reportfile);
    if (!path.isEmpty() && !QFileInfo::exists(path)) {
        return {}; // nothing answered since the answer log began
    }
    LoggedAttempts result;
    const std::optional<QByteArray> text = readLogFile(path, &result.logProblem_);
    if (!text) {
        return result;
    }
    LoggedAttempts read = of(*text, testname);
    return read;
}

LoggedAttempts LoggedAttempts::of(QByteArrayView log, const QString& testname) {
    LoggedAttempts result;
    const QByteArray test = CodePage::encode(testname);
    QHash<QByteArray, Open> open;
    forEachLogLine(log, [&](const LogFields& fields) {
        const bool drawn = fields.size() == AnswerLog::kAttemptFields;
        if (fields.size() != AnswerLog::kFields && !drawn) {
            ++result.skippedLines_;
            return;
        }
        if (fields[3] != test) {
            return;
        }
        const std::optional<int> number = logNumber(fields[4]);
        if (!number || !isAnswerLetter(fields[5])) {
            ++result.skippedLines_;
            return;
        }
        QByteArray folded = CodePage::folded(fields[0]);
        const QByteArray seed = drawn ? fields[8].toByteArray() : QByteArray();
        const std::optional<qint64> moment = logMoment(fields[1], fields[2]);
        const bool first = drawn ? fields[9] == "1" : *number == 1;
        auto at = open.find(folded);
        if (first || at == open.end() || at->seed != seed) {
            result.attempts_.append(
                {CodePage::decode(fields[0]), folded, drawn, moment, moment, {}});
            at = open.insert(folded, {result.attempts_.size() - 1, seed});
        }
        LoggedAttempt& attempt = result.attempts_[at->index];
        attempt.ended = attempt.ended && moment
                            ? std::optional<qint64>(std::max(*attempt.ended, *moment))
                            : std::nullopt;
        attempt.answers.append(
            {*number, fields[5].toByteArray(), fields[6].toByteArray(), fields[7].toByteArray()});
    });
    return result;
}

QList<LoggedAttempt> LoggedAttempts::firstAttempts() const {
    QList<LoggedAttempt> first;
    QHash<QByteArray, bool> seen;
    for (const LoggedAttempt& attempt : attempts_) {
        if (!seen.contains(attempt.folded)) {
            seen.insert(attempt.folded, true);
            first.append(attempt);
        }
    }
    return first;
}

} // namespace velmora
