// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace velmora {

// The figures of one question over the attempts that were asked it, in percent.
struct ItemFigures {
    int attempts = 0;                     // attempts asked the question
    std::optional<double> facility;       // share right
    std::optional<double> deviation;      // standard deviation of the question's score
    std::optional<double> discrimination; // correlation with the rest of the test
    std::optional<double> efficiency;     // the covariance against its highest possible value
    std::optional<double> weight;         // share in the spread of the totals
    bool negativeContribution = false;    // the question pulls against the test

    // "проверьте ключ" for a negative discrimination, "слабо различает" under 20, "отрицательный
    // вклад" for a negative covariance with the total; in that order, each at most once.
    QStringList flags() const;
};

// The figures of the whole test, in percent of the questions asked (skewness and kurtosis have
// no unit).
struct TestFigures {
    int attempts = 0;
    std::optional<double> mean;
    std::optional<double> median;
    std::optional<double> deviation;
    std::optional<double> skewness;
    std::optional<double> kurtosis;
    std::optional<double> consistency; // Cronbach's alpha (KR-20 for right-or-wrong questions)
    std::optional<double> errorRatio;
    std::optional<double> standardError;
    // Not every attempt was asked every question: consistency, error ratio and standard error are
    // not defined then.
    bool differentQuestions = false;
};

// Item analysis of one test: the classical figures of every question and of the test, computed
// from the score of every attempt on every question. The formulas are the ones the large learning
// platforms publish, so that a teacher can compare the figures with theirs. Variances and
// covariances divide by the number of attempts less one.
class ItemAnalysis {
public:
    // Scores of `attempts` attempts at `questions` questions, attempt by attempt: 1 right, 0 wrong
    // or unanswered, kNotAsked for a question the attempt was not asked.
    static constexpr signed char kNotAsked = -1;
    static ItemAnalysis of(int questions, const std::vector<signed char>& scores);

    const QList<ItemFigures>& items() const { return items_; }
    const TestFigures& test() const { return test_; }
    // Each attempt's share right of the questions it was asked, in percent, in attempt order.
    const QList<double>& totals() const { return totals_; }

    // "CIC above 75: good", "under 64: poor", nothing between; empty when CIC is undefined.
    static QString consistencyNote(const TestFigures& test);

private:
    QList<ItemFigures> items_;
    TestFigures test_;
    QList<double> totals_;
};

} // namespace velmora
