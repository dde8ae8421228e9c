// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exam/attempt_plan.h"

#include <QRandomGenerator>
#include <numeric>

namespace velmora {
namespace {

// splitmix64: small, fast, and the same numbers everywhere.
class SeededNumbers {
public:
    explicit SeededNumbers(quint64 seed) : state_(seed) {}

    quint64 next() {
        state_ += 0x9E3779B97F4A7C15ULL;
        quint64 z = state_;
        z = (z ^ (z >> 30U)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27U)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31U);
    }
    // A number 0 … bound - 1; the bias of the remainder is far below anything a test shows.
    int below(int bound) { return int(next() % quint64(bound)); }

private:
    quint64 state_;
};

// The first `count` of 1 … held in random order (a partial Fisher–Yates shuffle).
QList<int> drawn(SeededNumbers& numbers, int held, int count) {
    QList<int> all(held);
    std::iota(all.begin(), all.end(), 1);
    for (int i = 0; i < count; ++i) {
        std::swap(all[i], all[i + numbers.below(held - i)]);
    }
    all.resize(count);
    return all;
}

AnswerOrder shuffled(SeededNumbers& numbers, const std::array<bool, kAnswersPerQuestion>& empty) {
    QList<int> places; // 0-based places of the answers that are not empty
    for (int i = 0; i < kAnswersPerQuestion; ++i) {
        if (!empty[size_t(i)]) {
            places.append(i);
        }
    }
    QList<int> moved = places;
    for (qsizetype i = moved.size() - 1; i > 0; --i) {
        std::swap(moved[i], moved[numbers.below(int(i) + 1)]);
    }
    AnswerOrder order = AttemptPlan::fileOrder();
    for (qsizetype i = 0; i < places.size(); ++i) {
        order[size_t(places[i])] = moved[i] + 1;
    }
    return order;
}

} // namespace

AnswerOrder AttemptPlan::fileOrder() {
    AnswerOrder order{};
    std::iota(order.begin(), order.end(), 1);
    return order;
}

AttemptPlan
AttemptPlan::make(quint64 seed, int held, const TestSettings& settings,
                  const std::function<std::array<bool, kAnswersPerQuestion>(int)>& emptyAnswers) {
    SeededNumbers numbers(seed);
    AttemptPlan plan;
    plan.seed = seed;
    held = std::max(held, 0);
    if (settings.draw > 0) {
        plan.sections = drawn(numbers, held, std::min(settings.draw, held));
    } else {
        plan.sections.resize(held);
        std::iota(plan.sections.begin(), plan.sections.end(), 1);
    }
    for (const int section : plan.sections) {
        plan.orders.append(settings.shuffleAnswers ? shuffled(numbers, emptyAnswers(section))
                                                   : fileOrder());
    }
    return plan;
}

Question AttemptPlan::shown(const Question& inFile, const AnswerOrder& order) {
    Question q;
    q.text = inFile.text;
    q.correct = inFile.correct;
    for (int i = 0; i < kAnswersPerQuestion; ++i) {
        const int from = order[size_t(i)];
        QString answer = inFile.answers[size_t(from - 1)];
        // The file's answers begin with their own letter ("C) ..."): the screen's letter replaces
        // it.
        const QChar fileLetter(u'A' + from - 1);
        if (from != i + 1 && answer.size() >= 2 && answer[0] == fileLetter &&
            answer[1] == QLatin1Char(')')) {
            answer[0] = QChar(u'A' + i);
        }
        q.answers[size_t(i)] = answer;
        if (inFile.isCorrect(from)) {
            q.correct = QString::number(i + 1);
        }
    }
    return q;
}

int AttemptPlan::filePosition(const AnswerOrder& order, int position) {
    if (position < 1 || position > kAnswersPerQuestion) {
        return 0;
    }
    return order[size_t(position - 1)];
}

quint64 newAttemptSeed() {
    return QRandomGenerator::system()->generate64();
}

QString seedText(quint64 seed) {
    return QStringLiteral("%1").arg(seed, 16, 16, QLatin1Char('0'));
}

} // namespace velmora
