// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exam/test_analysis.h"

#include "core/exam/answer_log.h"

#include <QHash>

namespace velmora {
namespace {

constexpr int kHardAnswers = 5;
constexpr double kHard = 30.0;
constexpr double kEasy = 95.0;

// What an answer line to a question as it stands now holds.
struct Current {
    int index = 0;
    QByteArray fingerprint;
    QByteArray correct;
};

QHash<int, Current> currentOf(const QList<QuestionTally>& questions) {
    QHash<int, Current> current;
    for (int i = 0; i < questions.size(); ++i) {
        current.insert(questions[i].number,
                       {i, AnswerLog::fingerprint(questions[i].text).toLatin1(),
                        questions[i].correct.toLatin1()});
    }
    return current;
}

} // namespace

QStringList AnalysedQuestion::flags() const {
    QStringList flags = figures.flags();
    if (figures.facility && figures.attempts >= kHardAnswers && *figures.facility < kHard) {
        flags.append(QStringLiteral("слишком трудный"));
    } else if (figures.facility && *figures.facility > kEasy) {
        flags.append(QStringLiteral("слишком лёгкий"));
    }
    return flags;
}

TestAnalysis TestAnalysis::read(const QString& reportfile, const QString& testname,
                                AttemptChoice choice) {
    return of(QuestionStatistics::questionsOf(testname), LoggedAttempts::read(reportfile, testname),
              choice);
}

TestAnalysis TestAnalysis::of(const QList<QuestionTally>& questions, const LoggedAttempts& log,
                              AttemptChoice choice) {
    TestAnalysis result;
    result.skippedLines_ = log.skippedLines();
    result.logProblem_ = log.logProblem();
    const QList<LoggedAttempt> attempts =
        choice == AttemptChoice::First ? log.firstAttempts() : log.attempts();
    const QHash<int, Current> current = currentOf(questions);
    const auto p = static_cast<size_t>(questions.size());
    QList<QuestionTally> tallies = questions;
    std::vector<signed char> scores;
    scores.reserve(static_cast<size_t>(attempts.size()) * p);
    for (const LoggedAttempt& attempt : attempts) {
        const size_t row = scores.size();
        // Without settings every attempt is asked every question, an unanswered one is wrong.
        scores.resize(row + p, attempt.drawn ? ItemAnalysis::kNotAsked : 0);
        for (const LoggedAnswer& answer : attempt.answers) {
            const auto at = current.constFind(answer.question);
            if (at == current.constEnd() || at->fingerprint != answer.fingerprint) {
                ++result.changedAnswers_;
                if (at != current.constEnd()) {
                    scores[row + static_cast<size_t>(at->index)] = ItemAnalysis::kNotAsked;
                }
                continue;
            }
            const bool right = answer.chosen == at->correct;
            scores[row + static_cast<size_t>(at->index)] = right ? 1 : 0;
            QuestionTally& tally = tallies[at->index];
            ++tally.answers;
            ++tally.chosen[static_cast<size_t>(answer.chosen[0] - 'A')];
            tally.correctAnswers += right ? 1 : 0;
        }
    }
    result.analysis_ = ItemAnalysis::of(static_cast<int>(p), scores);
    for (int i = 0; i < tallies.size(); ++i) {
        result.questions_.append({tallies[i], result.analysis_.items()[i]});
    }
    return result;
}

QStringList TestAnalysis::notes() const {
    return answerLogNotes(logProblem_, changedAnswers_, skippedLines_);
}

QStringList TestAnalysis::remarks() const {
    QStringList remarks;
    if (test().differentQuestions && test().attempts > 0) {
        remarks.append(QStringLiteral("Попыткам заданы разные вопросы: альфа Кронбаха, доля "
                                      "ошибки и стандартная ошибка не считаются."));
    }
    if (const QString note = ItemAnalysis::consistencyNote(test()); !note.isEmpty()) {
        remarks.append(note);
    }
    return remarks;
}

} // namespace velmora
