#include "analysis/methods/exact_normal_tail.h"
#include "analysis/surrogate/active_learning.h"
#include "project/errors.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <iostream>
#include <numeric>

namespace zelmora {
namespace {

using Response = std::function<double(const std::vector<double>&)>;

double Along(const std::vector<double>& u, std::vector<double> direction) {
    const double norm =
        std::sqrt(std::inner_product(direction.begin(), direction.end(), direction.begin(), 0.0));
    return std::inner_product(u.begin(), u.end(), direction.begin(), 0.0) / norm;
}

// F = 1 + slope·(β + αᵀu): p = Φ(−β).
Response Linear(double beta, double slope, const std::vector<double>& direction) {
    return [=](const std::vector<double>& u) { return 1 + slope * (beta + Along(u, direction)); };
}

// The first-order runs: the mean values, each strength lowered by one σ, all lowered.
std::vector<TrainingPoint> FirstOrderRuns(std::size_t dimension, const Response& f) {
    std::vector<std::vector<double>> points{std::vector<double>(dimension, 0.0)};
    for (std::size_t k = 0; k < dimension; ++k) {
        points.emplace_back(dimension, 0.0);
        points.back()[k] = -1;
    }
    points.emplace_back(dimension, -1.0);
    std::vector<TrainingPoint> runs;
    for (const auto& u : points) {
        runs.push_back({u, f(u)});
    }
    return runs;
}

// Counts every run; evaluates a batch in the order given by `order` (its own order, reversed,
// or one at a time), as parallel runs would finish in any order.
struct CountingCalculator {
    Response f;
    int runs = 0;
    bool reversed = false;
    int failEvery = 0; // every such run fails; 0: none

    BatchCalculator Callback() {
        return [this](const std::vector<std::vector<double>>& points) {
            std::vector<PointRun> results(points.size());
            std::vector<std::size_t> order(points.size());
            std::iota(order.begin(), order.end(), 0);
            if (reversed) {
                std::reverse(order.begin(), order.end());
            }
            for (const std::size_t k : order) {
                ++runs;
                if (failEvery > 0 && runs % failEvery == 0) {
                    results[k] = {points[k], std::nullopt, "no result", true};
                } else {
                    results[k] = {points[k], f(points[k]), {}, true};
                }
            }
            return results;
        };
    }
};

SamplingResult Learn(CountingCalculator& calculator, std::vector<TrainingPoint> methodRuns,
                     std::size_t dimension, const SamplingSettings& settings) {
    SurrogateProblem problem{dimension, std::move(methodRuns), {}, calculator.Callback()};
    return LearnProbabilityOfFailure(problem, settings);
}

SamplingSettings Settings(double targetCov) {
    SamplingSettings settings;
    settings.kind = SamplingKind::Surrogate;
    settings.targetCov = targetCov;
    settings.seed = 7;
    return settings;
}

struct Target {
    const char* name;
    std::size_t dimension;
    Response f;
    std::vector<TrainingPoint> extraMethodRuns; // FORM's design point, where FORM ran
    double exact;
    int mostRuns;        // the method's included
    bool lowered = true; // the lowered runs are among the method's
};

TEST(ActiveLearning, FindsTheProbabilityOfFailureWithinItsTargetsInFewRuns) {
    const Response a = Linear(2.45, 0.12, {1, 1, 0, 0});
    const Response b = Linear(2.45, 0.08, {0, 0, 2, 1});
    const Response twoMechanisms = [=](const std::vector<double>& u) {
        return std::min(a(u), b(u));
    };
    const double pA = NormalTail(2.45);
    const std::vector<double> designA{-2.45 / std::sqrt(2.0), -2.45 / std::sqrt(2.0), 0, 0};
    const Response linear = Linear(2.2, 0.1, {0.6, 0.48, 0.64});
    const std::vector<double> designLinear{-2.2 * 0.6, -2.2 * 0.48, -2.2 * 0.64};
    const std::vector<Target> targets{
        {"linear after first order", 3, linear, {}, NormalTail(2.2), 60},
        {"linear after FORM",
         3,
         linear,
         {{designLinear, linear(designLinear)}},
         NormalTail(2.2),
         60},
        {"two mechanisms",
         4,
         twoMechanisms,
         {{designA, twoMechanisms(designA)}},
         1 - (1 - pA) * (1 - pA),
         170},
        // Only the mean values and all lowered: nothing tells the mechanisms apart at first.
        {"two mechanisms from two runs",
         4,
         twoMechanisms,
         {},
         1 - (1 - pA) * (1 - pA),
         170,
         false}};
    for (const Target& target : targets) {
        SCOPED_TRACE(target.name);
        std::vector<TrainingPoint> methodRuns = FirstOrderRuns(target.dimension, target.f);
        if (!target.lowered) {
            methodRuns = {methodRuns.front(), methodRuns.back()};
        }
        methodRuns.insert(methodRuns.end(), target.extraMethodRuns.begin(),
                          target.extraMethodRuns.end());
        const int methodCount = static_cast<int>(methodRuns.size());
        CountingCalculator calculator{target.f};
        const SamplingResult result =
            Learn(calculator, methodRuns, target.dimension, Settings(0.03));
        const int allRuns = calculator.runs + methodCount;
        std::cout << target.name << ": pf " << result.probability << " exact " << target.exact
                  << ", " << calculator.runs << " + " << methodCount << " runs, "
                  << result.surrogate->rounds << " rounds, population "
                  << result.surrogate->population << "\n";
        EXPECT_NEAR(result.probability / target.exact, 1, 0.15);
        EXPECT_LE(allRuns, target.mostRuns);
        EXPECT_EQ(result.surrogate->runs, calculator.runs);
        EXPECT_EQ(result.surrogate->methodRunsUsed, methodCount);
        EXPECT_TRUE(result.surrogate->converged);
        EXPECT_EQ(result.surrogate->stoppedBy, "target-cov");
        EXPECT_LE(*result.cov, 0.03);
        EXPECT_LE(result.interval95[0], target.exact);
        EXPECT_GE(result.interval95[1], target.exact);
    }
}

// A strength-reduction factor known to 0.01: the probability lies between that of the rounded
// factor (F < 1 below 0.995) and that of the unrounded one, and the result claims convergence
// only where its error estimate, which counts the mass within the resolution of F = 1, allows.
TEST(ActiveLearning, AFactorKnownToATolerance) {
    const Response a = Linear(2.45, 0.12, {1, 1, 0, 0});
    const Response b = Linear(2.45, 0.08, {0, 0, 2, 1});
    const Response rounded = [=](const std::vector<double>& u) {
        return std::round(100 * std::min(a(u), b(u))) / 100;
    };
    // F rounds below 1 where F < 0.995: each mechanism's β moves by 0.005 / slope.
    const double unrounded = 1 - (1 - NormalTail(2.45)) * (1 - NormalTail(2.45));
    const double lowest =
        1 - (1 - NormalTail(2.45 + 0.005 / 0.12)) * (1 - NormalTail(2.45 + 0.005 / 0.08));
    const std::vector<double> designA{-2.45 / std::sqrt(2.0), -2.45 / std::sqrt(2.0), 0, 0};
    std::vector<TrainingPoint> methodRuns = FirstOrderRuns(4, rounded);
    methodRuns.push_back({designA, rounded(designA)});
    CountingCalculator calculator{rounded};
    const SamplingResult result = Learn(calculator, methodRuns, 4, Settings(0.03));
    std::cout << "rounded: pf " << result.probability << " between " << lowest << " and "
              << unrounded << ", " << calculator.runs << " + " << methodRuns.size()
              << " runs, error estimate " << result.surrogate->errorEstimate.value_or(-1) << ", "
              << result.surrogate->stoppedBy << "\n";
    EXPECT_GE(result.probability, 0.8 * lowest);
    EXPECT_LE(result.probability, 1.2 * unrounded);
    EXPECT_LE(calculator.runs, 200);
    EXPECT_EQ(result.surrogate->converged,
              result.surrogate->errorEstimate && *result.surrogate->errorEstimate <= 0.05);
}

// At the defaults, from the first-order runs and from the mean values and all lowered alone: a
// model that has seen one mechanism is sure of it everywhere, and must not call half the
// probability converged. The seeds are those on which exploration once missed a mechanism.
TEST(ActiveLearning, OneMechanismSeenIsNotCalledConverged) {
    const Response a = Linear(2.45, 0.12, {1, 1, 0, 0});
    const Response b = Linear(2.45, 0.08, {0, 0, 2, 1});
    const Response f = [=](const std::vector<double>& u) { return std::min(a(u), b(u)); };
    const double exact = 1 - (1 - NormalTail(2.45)) * (1 - NormalTail(2.45));
    const std::vector<TrainingPoint> firstOrder = FirstOrderRuns(4, f);
    const std::vector<std::vector<TrainingPoint>> starts{firstOrder,
                                                         {firstOrder.front(), firstOrder.back()}};
    for (const std::uint64_t seed : {8, 11, 12, 13}) {
        for (const auto& methodRuns : starts) {
            SCOPED_TRACE("seed " + std::to_string(seed) + ", " + std::to_string(methodRuns.size()) +
                         " method runs");
            CountingCalculator calculator{f};
            SamplingSettings settings = Settings(0.1);
            settings.seed = seed;
            const SamplingResult result = Learn(calculator, methodRuns, 4, settings);
            if (result.surrogate->converged) {
                EXPECT_LE(result.interval95[0], exact);
                EXPECT_GE(result.interval95[1], exact);
            }
        }
    }
}

TEST(ActiveLearning, TheResultDoesNotDependOnTheOrderABatchIsRunIn) {
    const Response a = Linear(2.0, 0.12, {1, 1, 0});
    const Response b = Linear(2.2, 0.08, {0, 0, 1});
    const Response f = [=](const std::vector<double>& u) { return std::min(a(u), b(u)); };
    CountingCalculator inOrder{f};
    CountingCalculator reversed{f, 0, true};
    SamplingSettings settings = Settings(0.1);
    settings.batch = 3;
    const SamplingResult first = Learn(inOrder, FirstOrderRuns(3, f), 3, settings);
    const SamplingResult second = Learn(reversed, FirstOrderRuns(3, f), 3, settings);
    EXPECT_EQ(first.probability, second.probability);
    EXPECT_EQ(first.surrogate->runsPerRound, second.surrogate->runsPerRound);
    EXPECT_EQ(first.history.size(), second.history.size());
    EXPECT_EQ(inOrder.runs, reversed.runs);
}

Response TwoOfThree() {
    const Response a = Linear(2.0, 0.12, {1, 1, 0});
    const Response b = Linear(2.2, 0.08, {0, 0, 1});
    return [=](const std::vector<double>& u) { return std::min(a(u), b(u)); };
}

TEST(ActiveLearning, AFewFailedRunsAreCountedAndManyEndTheAnalysis) {
    const Response f = TwoOfThree();
    CountingCalculator few{f, 0, false, 15};
    const SamplingResult result = Learn(few, FirstOrderRuns(3, f), 3, Settings(0.1));
    EXPECT_EQ(result.failedRuns, few.runs / 15);
    EXPECT_GT(result.failedRuns, 0);
    EXPECT_EQ(result.errors.front(), "no result");
    EXPECT_LE(result.bounds[0], result.probability);
    EXPECT_GE(result.bounds[1], result.probability);

    CountingCalculator many{f, 0, false, 5};
    try {
        Learn(many, FirstOrderRuns(3, f), 3, Settings(0.1));
        ADD_FAILURE() << "many failed runs were taken";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Surrogate: 4 of 20 runs failed, more than 10 %. The first failure: no result");
    }
}

// Too few runs to learn both mechanisms: the result says so, with bounds from the points it
// could not classify (U < 2), which do not hold the points it is wrongly sure of.
TEST(ActiveLearning, TheMostRunsEndLearningUnconverged) {
    const Response f = TwoOfThree();
    CountingCalculator calculator{f};
    SamplingSettings settings = Settings(0.1);
    settings.maxRuns = 20;
    const SamplingResult result = Learn(calculator, FirstOrderRuns(3, f), 3, settings);
    EXPECT_EQ(calculator.runs, 20);
    EXPECT_FALSE(result.surrogate->converged);
    EXPECT_EQ(result.surrogate->stoppedBy, "max-runs");
    EXPECT_EQ(StoppedByName(result), "max-runs");
    EXPECT_LE(result.bounds[0], result.probability);
    EXPECT_GE(result.bounds[1], result.probability);
}

} // namespace
} // namespace zelmora
