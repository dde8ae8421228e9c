// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exam/attempt_review.h"

#include "core/exam/answer_log.h"
#include "core/exam/log_lines.h"
#include "core/exam/test_run.h"
#include "core/storage/code_page.h"

#include <QStringList>
#include <algorithm>

namespace velmora {
namespace {

QString answerOrNothing(const Question& shown, int position) {
    if (position < 1 || position > kAnswersPerQuestion) {
        return QStringLiteral("нет ответа");
    }
    return shown.answers[size_t(position - 1)].trimmed();
}

// The shown position of a file position under `order`; 0 when it is none.
int shownPosition(const AnswerOrder& order, int filePosition) {
    for (int i = 0; i < kAnswersPerQuestion; ++i) {
        if (order[size_t(i)] == filePosition) {
            return i + 1;
        }
    }
    return 0;
}

bool sameName(QByteArrayView a, QByteArrayView b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (CodePage::fold(static_cast<unsigned char>(a[i])) !=
            CodePage::fold(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

} // namespace

QString AttemptReview::text(const Attempt& attempt) {
    TestRun run;
    run.resume(attempt.testname, attempt.plan, attempt.chosen, attempt.started);
    const qsizetype asked = attempt.plan.sections.size();
    QStringList lines;
    lines.append(QStringLiteral("Тест №%1: верных ответов %2 из %3")
                     .arg(TestRun::slotOf(attempt.testname))
                     .arg(run.correct())
                     .arg(asked));
    for (qsizetype k = 0; k < asked; ++k) {
        const Question shown = run.question(int(k) + 1);
        const AnswerOrder& order = attempt.plan.orders[k];
        const int chosen = k < attempt.chosen.size() ? shownPosition(order, attempt.chosen[k]) : 0;
        const int correct = shown.correct.size() == 1 ? shown.correct.toInt() : 0;
        lines.append(QString());
        lines.append(QStringLiteral("%1. %2").arg(k + 1).arg(shown.text.trimmed()));
        lines.append(QStringLiteral("   Ваш ответ: %1%2")
                         .arg(answerOrNothing(shown, chosen), chosen != 0 && chosen == correct
                                                                  ? QStringLiteral(" — верно")
                                                                  : QStringLiteral(" — неверно")));
        if (chosen != correct) {
            lines.append(
                QStringLiteral("   Верный ответ: %1").arg(answerOrNothing(shown, correct)));
        }
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

std::optional<Attempt>
AttemptReview::lastLogged(const QString& reportfile, const QString& username,
                          const std::function<TestSettings(int)>& settingsOf) {
    const std::optional<QByteArray> log = readLogFile(AnswerLog::path(reportfile), nullptr);
    if (!log) {
        return std::nullopt;
    }
    const QByteArray name = CodePage::encode(username);
    // The attempt's lines: those of the seed of the student's last line with one.
    QByteArray test;
    QByteArray seed;
    forEachLogLine(*log, [&](const LogFields& fields) {
        if (fields.size() == AnswerLog::kAttemptFields && sameName(fields[0], name)) {
            test = fields[3].toByteArray();
            seed = fields[8].toByteArray();
        }
    });
    if (seed.isEmpty()) {
        return std::nullopt;
    }
    QList<std::pair<int, int>> answers; // place in the attempt, file position
    forEachLogLine(*log, [&](const LogFields& fields) {
        if (fields.size() == AnswerLog::kAttemptFields && sameName(fields[0], name) &&
            fields[3] == test && fields[8] == seed && fields[5].size() == 1) {
            const int position = fields[5][0] - 'A' + 1;
            answers.append({logNumber(fields[9]).value_or(0), position});
        }
    });
    bool ok = false;
    Attempt attempt;
    attempt.username = username;
    attempt.testname = CodePage::decode(test);
    const quint64 seedValue = seed.toULongLong(&ok, 16);
    TestRun run;
    if (!ok ||
        !run.start(attempt.testname, settingsOf(TestRun::slotOf(attempt.testname)), seedValue) ||
        !run.plan()) {
        return std::nullopt;
    }
    attempt.plan = *run.plan();
    std::sort(answers.begin(), answers.end());
    for (const auto& [place, position] : answers) {
        if (place == attempt.chosen.size() + 1) {
            attempt.chosen.append(position);
        }
    }
    return attempt;
}

} // namespace velmora
