// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exam/item_analysis.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace velmora {
namespace {

constexpr double kPercent = 100.0;
constexpr double kWeakDiscrimination = 20.0;
constexpr double kGoodConsistency = 75.0;
constexpr double kPoorConsistency = 64.0;

// Sums of two integer lists over the same attempts, from which their variances and covariance
// follow exactly up to one division: s·Σxy − Σx·Σy is an integer.
struct PairSums {
    std::int64_t n = 0;
    std::int64_t x = 0;
    std::int64_t y = 0;
    std::int64_t xx = 0;
    std::int64_t yy = 0;
    std::int64_t xy = 0;

    void add(std::int64_t a, std::int64_t b) {
        ++n;
        x += a;
        y += b;
        xx += a * a;
        yy += b * b;
        xy += a * b;
    }
    // Divisor n − 1; n must be at least 2.
    double covariance(std::int64_t sumAB, std::int64_t sumA, std::int64_t sumB) const {
        return static_cast<double>(n * sumAB - sumA * sumB) / static_cast<double>(n * (n - 1));
    }
    double varianceX() const { return covariance(xx, x, x); }
    double varianceY() const { return covariance(yy, y, y); }
    double covarianceXY() const { return covariance(xy, x, y); }
};

// The covariance of the question's scores with the rest of the test when both lists are sorted
// ascending: the highest the covariance can be for these two lists. Sorted, the scores are the
// wrong ones then the right ones, so only the `right` largest rests count.
double highestCovariance(std::vector<int>& rests, std::int64_t right, const PairSums& sums) {
    std::sort(rests.begin(), rests.end());
    std::int64_t topRests = 0;
    for (auto i = static_cast<std::int64_t>(rests.size()) - right;
         i < static_cast<std::int64_t>(rests.size()); ++i) {
        topRests += rests[static_cast<size_t>(i)];
    }
    return sums.covariance(topRests, sums.x, sums.y);
}

struct ItemWork {
    ItemFigures figures;
    std::optional<double> totalCovariance; // Cov(x_i, T)
};

ItemWork itemOf(int question, int questions, const std::vector<signed char>& scores,
                const std::vector<int>& totals) {
    PairSums rest; // x_i with X₋ᵢ
    PairSums withTotal;
    std::vector<int> rests;
    const size_t attempts = totals.size();
    rests.reserve(attempts);
    for (size_t a = 0; a < attempts; ++a) {
        const signed char x =
            scores[a * static_cast<size_t>(questions) + static_cast<size_t>(question)];
        if (x == ItemAnalysis::kNotAsked) {
            continue;
        }
        rest.add(x, totals[a] - x);
        withTotal.add(x, totals[a]);
        rests.push_back(totals[a] - x);
    }
    ItemWork work;
    ItemFigures& f = work.figures;
    f.attempts = static_cast<int>(rest.n);
    if (rest.n == 0) {
        return work;
    }
    f.facility = kPercent * static_cast<double>(rest.x) / static_cast<double>(rest.n);
    if (rest.n < 2) {
        return work;
    }
    const double vx = rest.varianceX();
    const double vrest = rest.varianceY();
    const double cov = rest.covarianceXY();
    f.deviation = kPercent * std::sqrt(vx);
    if (vx > 0 && vrest > 0) {
        f.discrimination = kPercent * cov / std::sqrt(vx * vrest);
    }
    if (const double highest = highestCovariance(rests, rest.x, rest); highest != 0) {
        f.efficiency = kPercent * cov / highest;
    }
    work.totalCovariance = withTotal.covarianceXY();
    f.negativeContribution = *work.totalCovariance < 0;
    return work;
}

double median(QList<double> values) {
    std::sort(values.begin(), values.end());
    const qsizetype middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Mean, median, deviation, skewness and kurtosis of the attempts' shares (0 … 1).
void describe(const QList<double>& shares, TestFigures& test) {
    const auto s = static_cast<double>(shares.size());
    test.attempts = static_cast<int>(shares.size());
    if (shares.isEmpty()) {
        return;
    }
    double sum = 0;
    for (const double y : shares) {
        sum += y;
    }
    const double mean = sum / s;
    test.mean = kPercent * mean;
    test.median = kPercent * median(shares);
    if (shares.size() < 2) {
        return;
    }
    double m2 = 0;
    double m3 = 0;
    double m4 = 0;
    for (const double y : shares) {
        const double d = y - mean;
        m2 += d * d;
        m3 += d * d * d;
        m4 += d * d * d * d;
    }
    m2 /= s;
    m3 /= s;
    m4 /= s;
    const double k2 = s * m2 / (s - 1);
    test.deviation = kPercent * std::sqrt(k2);
    if (k2 <= 0) {
        return;
    }
    if (shares.size() >= 3) {
        const double k3 = s * s * m3 / ((s - 1) * (s - 2));
        test.skewness = k3 / std::pow(k2, 1.5);
    }
    if (shares.size() >= 4) {
        const double k4 =
            s * s * ((s + 1) * m4 - 3 * (s - 1) * m2 * m2) / ((s - 1) * (s - 2) * (s - 3));
        test.kurtosis = k4 / (k2 * k2);
    }
}

// Cronbach's alpha with its error ratio and standard error, for attempts that were all asked
// every question.
void consistency(int questions, const std::vector<signed char>& scores,
                 const std::vector<int>& totals, TestFigures& test) {
    const auto s = static_cast<std::int64_t>(totals.size());
    if (questions < 2 || s < 2) {
        return;
    }
    PairSums total;
    for (const int t : totals) {
        total.add(t, t);
    }
    const double vt = total.varianceX();
    if (vt <= 0) {
        return;
    }
    double itemVariances = 0;
    for (int i = 0; i < questions; ++i) {
        PairSums item;
        for (std::int64_t a = 0; a < s; ++a) {
            const signed char x = scores[static_cast<size_t>(a * questions + i)];
            item.add(x, x);
        }
        itemVariances += item.varianceX();
    }
    const double cic = kPercent * questions / (questions - 1.0) * (1 - itemVariances / vt);
    test.consistency = cic;
    if (cic >= 0) {
        test.errorRatio = kPercent * std::sqrt(1 - cic / kPercent);
        if (test.deviation) {
            test.standardError = *test.errorRatio * *test.deviation / kPercent;
        }
    }
}

} // namespace

QStringList ItemFigures::flags() const {
    QStringList flags;
    if (discrimination && *discrimination < 0) {
        flags.append(QStringLiteral("проверьте ключ"));
    } else if (discrimination && *discrimination < kWeakDiscrimination) {
        flags.append(QStringLiteral("слабо различает"));
    }
    if (negativeContribution) {
        flags.append(QStringLiteral("отрицательный вклад"));
    }
    return flags;
}

ItemAnalysis ItemAnalysis::of(int questions, const std::vector<signed char>& scores) {
    ItemAnalysis analysis;
    const size_t attempts = questions > 0 ? scores.size() / static_cast<size_t>(questions) : 0;
    std::vector<int> totals(attempts, 0);
    QList<double> shares;
    for (size_t a = 0; a < attempts; ++a) {
        int asked = 0;
        for (int i = 0; i < questions; ++i) {
            const signed char x =
                scores[a * static_cast<size_t>(questions) + static_cast<size_t>(i)];
            if (x != kNotAsked) {
                ++asked;
                totals[a] += x;
            }
        }
        analysis.test_.differentQuestions |= asked != questions;
        if (asked > 0) {
            shares.append(static_cast<double>(totals[a]) / asked);
            analysis.totals_.append(kPercent * shares.back());
        }
    }
    describe(shares, analysis.test_);
    if (!analysis.test_.differentQuestions) {
        consistency(questions, scores, totals, analysis.test_);
    }

    QList<ItemWork> work;
    double weights = 0;
    for (int i = 0; i < questions; ++i) {
        work.append(itemOf(i, questions, scores, totals));
        weights += std::sqrt(std::max(0.0, work.back().totalCovariance.value_or(0)));
    }
    for (ItemWork& item : work) {
        if (item.totalCovariance && weights > 0) {
            item.figures.weight =
                kPercent * std::sqrt(std::max(0.0, *item.totalCovariance)) / weights;
        }
        analysis.items_.append(item.figures);
    }
    return analysis;
}

QString ItemAnalysis::consistencyNote(const TestFigures& test) {
    if (!test.consistency) {
        return {};
    }
    if (*test.consistency > kGoodConsistency) {
        return QStringLiteral("Альфа Кронбаха выше 75 %: тест измеряет согласованно.");
    }
    if (*test.consistency < kPoorConsistency) {
        return QStringLiteral(
            "Альфа Кронбаха ниже 64 %: тест измеряет несогласованно; пересмотрите вопросы, "
            "которые слабо различают.");
    }
    return {};
}

} // namespace velmora
