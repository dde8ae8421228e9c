// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exam/item_analysis.h"

#include <gtest/gtest.h>

#include <cmath>

using velmora::ItemAnalysis;

using namespace Qt::StringLiterals;

namespace {

constexpr double kExact = 1e-9;
constexpr signed char N = ItemAnalysis::kNotAsked;

// Five attempts at three questions:
//        q1 q2 q3   T
//   a1    1  1  1   3
//   a2    1  1  0   2
//   a3    1  0  1   2
//   a4    0  1  0   1
//   a5    0  0  0   0
const std::vector<signed char> kFive{1, 1, 1, 1, 1, 0, 1, 0, 1, 0, 1, 0, 0, 0, 0};

void expectFigure(const std::optional<double>& got, double want, const char* what) {
    ASSERT_TRUE(got.has_value()) << what;
    EXPECT_NEAR(*got, want, kExact) << what;
}

TEST(ItemAnalysis, QuestionFiguresOfASmallTestByHand) {
    const ItemAnalysis a = ItemAnalysis::of(3, kFive);
    ASSERT_EQ(a.items().size(), 3);
    // Weights: Cov(x_i, T) with T = 3,2,2,1,0 (mean 1,6):
    //   q1: (.4·1.4 + .4·.4 + .4·.4 + (−.6)(−.6) + (−.6)(−1.6)) / 4 = 2.2 / 4 = .55
    //   q2: (.4·1.4 + .4·.4 + (−.6)(.4) + .4(−.6) + (−.6)(−1.6)) / 4 = 1.2 / 4 = .3
    //   q3: (.6·1.4 + (−.4)(.4) + .6·.4 + (−.4)(−.6) + (−.4)(−1.6)) / 4 = 1.8 / 4 = .45
    const double roots = std::sqrt(0.55) + std::sqrt(0.3) + std::sqrt(0.45);
    struct Row {
        double facility, deviation;
        std::optional<double> discrimination, efficiency;
        double weight;
    };
    const Row rows[] = {
        // q1: x = 1,1,1,0,0 (mean .6, V = (3·.16 + 2·.36)/4 = .3); rest = 2,1,1,1,0 (mean 1,
        // V = 2/4 = .5); Cov = (.4·1 + .6·1)/4 = .25; sorted lists give the same .25.
        {60, 100 * std::sqrt(0.3), 100 * 0.25 / std::sqrt(0.3 * 0.5), 100.0,
         100 * std::sqrt(0.55) / roots},
        // q2: x = 1,1,0,1,0; rest = 2,1,2,0,0 (mean 1); Cov = (.4 − .6 − .4 + .6)/4 = 0; sorted:
        // x = 0,0,1,1,1 with rest 0,0,1,2,2 gives (.6 + .6 + 0 + .4 + .4)/4 = .5, so DE = 0.
        {60, 100 * std::sqrt(0.3), 0.0, 0.0, 100 * std::sqrt(0.3) / roots},
        // q3: x = 1,0,1,0,0 (mean .4, V = .3); rest = 2,2,1,1,0 (mean 1.2, V = 2.8/4 = .7);
        // Cov = (.48 − .32 − .12 + .08 + .48)/4 = .15; sorted: x = 0,0,0,1,1 with rest
        // 0,1,1,2,2 gives (.48 + .08 + .08 + .48 + .48)/4 = .4, so DE = 100·.15/.4 = 37.5.
        {40, 100 * std::sqrt(0.3), 100 * 0.15 / std::sqrt(0.3 * 0.7), 37.5,
         100 * std::sqrt(0.45) / roots},
    };
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i + 1);
        const auto& item = a.items()[i];
        const Row& want = rows[i];
        EXPECT_EQ(item.attempts, 5);
        expectFigure(item.facility, want.facility, "facility");
        expectFigure(item.deviation, want.deviation, "SD");
        expectFigure(item.discrimination, *want.discrimination, "DI");
        expectFigure(item.efficiency, *want.efficiency, "DE");
        expectFigure(item.weight, want.weight, "weight");
        EXPECT_FALSE(item.negativeContribution);
    }
    EXPECT_EQ(a.items()[0].flags(), QStringList{});
    EXPECT_EQ(a.items()[1].flags(), QStringList{u"слабо различает"_s});
}

TEST(ItemAnalysis, TestFiguresOfASmallTestByHand) {
    const velmora::TestFigures t = ItemAnalysis::of(3, kFive).test();
    EXPECT_EQ(t.attempts, 5);
    EXPECT_FALSE(t.differentQuestions);
    // T = 3,2,2,1,0: mean 1.6, median 2; deviations 1.4, .4, .4, −.6, −1.6.
    expectFigure(t.mean, 100 * 1.6 / 3, "mean");
    expectFigure(t.median, 100 * 2.0 / 3, "median");
    // V(T) = (1.96 + .16 + .16 + .36 + 2.56)/4 = 5.2/4 = 1.3
    expectFigure(t.deviation, 100 * std::sqrt(1.3) / 3, "SD");
    // m2 = 5.2/5 = 1.04; m3 = (2.744 + .064 + .064 − .216 − 4.096)/5 = −.288;
    // m4 = (3.8416 + .0256 + .0256 + .1296 + 6.5536)/5 = 2.1152.
    // k2 = 5·1.04/4 = 1.3; k3 = 25·(−.288)/(4·3) = −.6;
    // k4 = 25·(6·2.1152 − 3·4·1.04²)/(4·3·2) = 25·(−.288)/24 = −.3.
    expectFigure(t.skewness, -0.6 / std::pow(1.3, 1.5), "skewness");
    expectFigure(t.kurtosis, -0.3 / (1.3 * 1.3), "kurtosis");
    // Every question has V = .3: CIC = 100·3/2·(1 − .9/1.3).
    const double cic = 100 * 1.5 * (1 - 0.9 / 1.3);
    expectFigure(t.consistency, cic, "CIC");
    expectFigure(t.errorRatio, 100 * std::sqrt(1 - cic / 100), "ER");
    expectFigure(t.standardError, 100 * std::sqrt(1 - cic / 100) * std::sqrt(1.3) / 3, "SE");
    EXPECT_TRUE(
        ItemAnalysis::consistencyNote(t).startsWith(QStringLiteral("Альфа Кронбаха ниже 64 %:")));
    ASSERT_EQ(ItemAnalysis::of(3, kFive).totals().size(), 5);
    EXPECT_NEAR(ItemAnalysis::of(3, kFive).totals()[1], 100 * 2.0 / 3, kExact);
}

TEST(ItemAnalysis, UndefinedFiguresAreLeftOut) {
    struct Case {
        const char* name;
        int questions;
        std::vector<signed char> scores;
    };
    // One attempt: a mean and a median only.
    const ItemAnalysis one = ItemAnalysis::of(2, {1, 0});
    EXPECT_EQ(one.test().attempts, 1);
    expectFigure(one.test().mean, 50, "mean");
    EXPECT_FALSE(one.test().deviation);
    EXPECT_FALSE(one.test().skewness);
    EXPECT_FALSE(one.test().consistency);
    EXPECT_FALSE(one.items()[0].deviation);
    EXPECT_FALSE(one.items()[0].discrimination);
    EXPECT_FALSE(one.items()[0].weight);

    // Three attempts: a skewness but no kurtosis. q1 always right: V = 0, so no DI and no DE
    // (sorted covariance 0), and Cov(x1, T) = 0 gives it no weight.
    const ItemAnalysis three = ItemAnalysis::of(2, {1, 1, 1, 0, 1, 0});
    EXPECT_TRUE(three.test().skewness);
    EXPECT_FALSE(three.test().kurtosis);
    EXPECT_FALSE(three.items()[0].discrimination);
    EXPECT_FALSE(three.items()[0].efficiency);
    expectFigure(three.items()[0].weight, 0, "weight of a constant question");
    expectFigure(three.items()[1].weight, 100, "weight of the other");
    EXPECT_FALSE(three.items()[1].discrimination); // the rest (q1) does not vary

    // Every total equal: no skewness, kurtosis or CIC (V(T) = 0).
    const ItemAnalysis flat = ItemAnalysis::of(2, {1, 0, 0, 1, 1, 0, 0, 1});
    expectFigure(flat.test().deviation, 0, "SD");
    EXPECT_FALSE(flat.test().skewness);
    EXPECT_FALSE(flat.test().kurtosis);
    EXPECT_FALSE(flat.test().consistency);
    // q1: x = 1,0,1,0 with rest 0,1,0,1: Cov = −1/3, V = 1/3 each: DI = −100; the sorted lists
    // give +1/3, so DE = −100. Cov(x1, T) = 0 (T is constant).
    expectFigure(flat.items()[0].discrimination, -100, "DI");
    expectFigure(flat.items()[0].efficiency, -100, "DE");
    EXPECT_EQ(flat.items()[0].flags(), QStringList{u"проверьте ключ"_s});
    EXPECT_FALSE(flat.items()[0].weight); // no question has a positive covariance with T
}

TEST(ItemAnalysis, ANegativeCovarianceWithTheTotalWeighsNothingAndIsMarked) {
    // q3 is right only where the others are wrong:
    //        q1 q2 q3   T
    //   a1    1  1  0   2
    //   a2    1  1  0   2
    //   a3    0  0  1   1
    //   a4    1  0  0   1
    const ItemAnalysis a = ItemAnalysis::of(3, {1, 1, 0, 1, 1, 0, 0, 0, 1, 1, 0, 0});
    // T mean 1.5; Cov(x3, T) = ((−.25)(.5)·2 + (.75)(−.5) + (−.25)(−.5))/3 = −.5/3 < 0.
    EXPECT_TRUE(a.items()[2].negativeContribution);
    expectFigure(a.items()[2].weight, 0, "weight");
    // Cov(x1, T) = (.25·.5·2 + (−.75)(−.5) + .25(−.5))/3 = .5/3; Cov(x2, T) = (.5·.5·2 +
    // (−.5)(−.5)·2)/3 = 1/3.
    const double roots = std::sqrt(0.5 / 3) + std::sqrt(1.0 / 3);
    expectFigure(a.items()[0].weight, 100 * std::sqrt(0.5 / 3) / roots, "weight q1");
    expectFigure(a.items()[1].weight, 100 * std::sqrt(1.0 / 3) / roots, "weight q2");
    EXPECT_TRUE(a.items()[2].flags().contains(QStringLiteral("отрицательный вклад")));
}

TEST(ItemAnalysis, ADrawnTestUsesTheAttemptsAskedEachQuestion) {
    //        q1 q2 q3
    //   a1    1  1  —    T = 2 of 2
    //   a2    0  —  1    T = 1 of 2
    //   a3    —  1  0    T = 1 of 2
    //   a4    1  0  —    T = 1 of 2
    const ItemAnalysis a = ItemAnalysis::of(3, {1, 1, N, 0, N, 1, N, 1, 0, 1, 0, N});
    EXPECT_TRUE(a.test().differentQuestions);
    EXPECT_FALSE(a.test().consistency);
    EXPECT_FALSE(a.test().errorRatio);
    EXPECT_FALSE(a.test().standardError);
    // Shares 1, .5, .5, .5: mean 62.5, median 50, V = (.375² + 3·.125²)/3 = .1875/3.
    expectFigure(a.test().mean, 62.5, "mean");
    expectFigure(a.test().median, 50, "median");
    expectFigure(a.test().deviation, 100 * std::sqrt(0.1875 / 3), "SD");
    // q1 asked by a1, a2, a4: x = 1,0,1 (mean 2/3), rest = 1,1,0 (mean 2/3).
    // Cov = ((1/3)(1/3) + (−2/3)(1/3) + (1/3)(−2/3))/2 = (−3/9)/2 = −1/6; V(x) = V(rest) = 1/3.
    EXPECT_EQ(a.items()[0].attempts, 3);
    expectFigure(a.items()[0].facility, 100 * 2.0 / 3, "facility");
    expectFigure(a.items()[0].discrimination, 100 * (-1.0 / 6) / (1.0 / 3), "DI");
    // Sorted: x = 0,1,1 with rest 0,1,1: Cov = ((−2/3)(−2/3) + 2·(1/3)(1/3))/2 = 1/3.
    expectFigure(a.items()[0].efficiency, 100 * (-1.0 / 6) / (1.0 / 3), "DE");
}

} // namespace
