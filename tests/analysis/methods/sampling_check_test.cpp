// Importance sampling and Monte Carlo after the method: their estimates against probabilities
// known exactly or from the test's own Monte Carlo, the same result for any number of runs at
// once, failed runs as bounds and too many of them ending the analysis.
#include "analysis/analysis_driver.h"
#include "analysis/methods/exact_normal_tail.h"
#include "analysis/methods/sampling_method.h"
#include "project/errors.h"
#include "project/project_state.h"
#include "report/json/analysis_json.h"
#include "report/json/analysis_json_read.h"
#include "tests/analysis/support/calculator_project.h"
#include "tests/support/file_bytes.h"
#include "tests/support/memory_log.h"

#include <cmath>
#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <numbers>
#include <random>

namespace zelmora {
namespace {

using testing::CalculatorProject;

SamplingSettings Sampling(SamplingKind kind, int samples, double targetCov, std::uint64_t seed) {
    return {kind, samples, targetCov, seed};
}

class SamplingCheck : public ::testing::Test {
protected:
    void SetUp() override {
        State = ProjectState{};
        project_.Reset();
        State.StepSize = 0.5;
        test_support::WriteBytes(State.ProjectPath, "model\n");
    }

    AnalysisRecord Analyse(Method method, const SamplingSettings& sampling, int parallelRuns = 1) {
        test_support::MemoryLog log;
        const std::unique_ptr<ProcessSet> processes = MakeChildProcesses();
        AnalysisOptions options;
        options.parallelRuns = parallelRuns;
        options.method = method;
        options.sampling = sampling;
        AnalysisRecord record;
        try {
            RunAnalysis(log, *processes, options, record);
        } catch (...) {
            log_ = log.lines;
            throw;
        }
        log_ = log.lines;
        return record;
    }

    // The sampling object of the analysis JSON: what must not depend on the runs at once.
    static nlohmann::json SamplingObject(const AnalysisRecord& record) {
        return nlohmann::json::parse(AnalysisJson("p.zmo", State, record)).at("sampling");
    }

    CalculatorProject project_;
    std::vector<std::string> log_;
};

void ExpectWithinItsInterval(const SamplingResult& result, double truth) {
    EXPECT_LE(result.interval95[0], truth) << "estimate " << result.probability;
    EXPECT_GE(result.interval95[1], truth) << "estimate " << result.probability;
    EXPECT_LE(result.interval95[0], result.probability);
    EXPECT_GE(result.interval95[1], result.probability);
}

struct LinearCase {
    Method method;
    SamplingKind kind;
    double sd1, sd2; // of the cohesions 20 and 15 in F = 0.2 + 0.03 c1 + 0.02 c2
    double targetCov;
};

// g is linear in normal cohesions, so p = Φ(-β) exactly.
TEST_F(SamplingCheck, EstimatesOfALinearResponseHoldTheExactProbability) {
    project_.WriteModel("base 0.2\nterm 1 4 0.03 20\nterm 2 4 0.02 15\n");
    for (const LinearCase& c : {LinearCase{Method::Form, SamplingKind::Importance, 1.2, 1.2, 0.2},
                                LinearCase{Method::Taylor, SamplingKind::MonteCarlo, 4, 5, 0.25}}) {
        Row(State, 1) = {1, 30, 0, 20, c.sd1};
        Row(State, 2) = {2, 25, 0, 15, c.sd2};
        const double truth = NormalTail(0.1 / std::hypot(0.03 * c.sd1, 0.02 * c.sd2));
        const SamplingSettings settings = Sampling(c.kind, 2000, c.targetCov, 7);
        const AnalysisRecord record = Analyse(c.method, settings);
        ASSERT_TRUE(record.sampling);
        const SamplingResult& result = *record.sampling;
        ExpectWithinItsInterval(result, truth);
        // Every sample keeps its run's factor with the weight the estimate gave it.
        std::vector<double> runFactors;
        for (const RunOutcome& outcome : record.outcomes) {
            if (outcome.runId > FirstSampleRunId) {
                runFactors.push_back(*outcome.safetyFactor);
            }
        }
        ASSERT_EQ(result.sampledFactors.size(), runFactors.size());
        ASSERT_EQ(runFactors.size(), std::size_t(result.samples));
        long double below = 0;
        for (std::size_t k = 0; k < runFactors.size(); ++k) {
            const auto [factor, weight] = result.sampledFactors[k];
            EXPECT_EQ(factor, runFactors[k]);
            if (c.kind == SamplingKind::MonteCarlo) {
                EXPECT_EQ(weight, 1);
            }
            below += factor < 1 ? weight : 0;
        }
        EXPECT_NEAR(static_cast<double>(below / result.samples), result.probability,
                    1e-12 * result.probability);
        EXPECT_TRUE(result.stoppedByTarget);
        EXPECT_LE(*result.cov, c.targetCov);
        EXPECT_GE(result.failures, 10);
        EXPECT_EQ(result.samples % 20, 0);
        EXPECT_EQ(result.bounds[0], result.bounds[1]);
        // The linear response is FORM's own: its probability lies inside the interval.
        EXPECT_EQ(result.formDisagrees,
                  c.method == Method::Form ? std::optional(false) : std::nullopt);
        EXPECT_EQ(SamplingObject(record).at("form_disagrees"),
                  c.method == Method::Form ? nlohmann::json(false) : nlohmann::json());
        const std::string json = AnalysisJson("p.zmo", State, record);
        EXPECT_EQ(RecordFromAnalysisJson(json).sampling->formDisagrees, result.formDisagrees);
        // Every sample ran and the check met its target: its estimate is relied on.
        const nlohmann::json relied = nlohmann::json::parse(json).at("relied_on");
        EXPECT_EQ(relied.at("method"), SamplingKindName(c.kind));
        EXPECT_EQ(relied.at("probability_of_failure"), result.probability);
        EXPECT_EQ(relied.at("beta"), *result.beta);
        EXPECT_EQ(relied.at("upper_bound"), false);
        EXPECT_NEAR(NormalTail(*result.beta), result.probability, 1e-12 * result.probability);
        const std::size_t methodRuns = record.method ? std::size_t(record.method->runs) : 0;
        EXPECT_EQ(record.outcomes.size(), 5 + methodRuns + std::size_t(result.samples));
        EXPECT_EQ(log_[log_.size() - 2].rfind(SamplingTitle(c.kind) + ": " +
                                                  std::to_string(result.samples) + " runs, " +
                                                  std::to_string(result.failures) +
                                                  " with F < 1, 0 failed, probability of failure ",
                                              0),
                  0U);

        for (const int parallelRuns : {3, 8}) {
            const AnalysisRecord beside = Analyse(c.method, settings, parallelRuns);
            EXPECT_EQ(SamplingObject(beside), SamplingObject(record)) << parallelRuns;
        }
    }
}

// F = 0.45 + 0.8 sin φ + 0.006 c², curved in both strengths; its p from a Monte Carlo of the
// test's own with the standard library's normal numbers.
TEST_F(SamplingCheck, EstimatesOfACurvedResponseHoldAnIndependentMonteCarlo) {
    project_.WriteModel("base 0.45\nterm 1 3 0.8 0.5\nsquare 1 4 0.006 10\n");
    Row(State, 1) = {1, 30, 5, 10, 3};
    std::mt19937_64 generator(12345);
    std::normal_distribution<double> phi(30, 5);
    std::normal_distribution<double> cohesion(10, 3);
    constexpr int Draws = 2000000;
    int below = 0;
    for (int k = 0; k < Draws; ++k) {
        const double c = cohesion(generator);
        below += 0.45 + 0.8 * std::sin(phi(generator) * std::numbers::pi / 180) + 0.006 * c * c < 1;
    }
    const double truth = double(below) / Draws;
    ASSERT_LT(std::sqrt((1 - truth) / (Draws * truth)), 0.01);

    const AnalysisRecord importance =
        Analyse(Method::Form, Sampling(SamplingKind::Importance, 2000, 0.2, 3));
    ExpectWithinItsInterval(*importance.sampling, truth);
    const AnalysisRecord monteCarlo =
        Analyse(Method::FirstOrder, Sampling(SamplingKind::MonteCarlo, 2000, 0.3, 3));
    ExpectWithinItsInterval(*monteCarlo.sampling, truth);
}

// A run that fails above c1 = 27 (a few samples) or above c1 = 20 (half of them); the second
// cohesion, 3 ± 3, is negative in some samples, which are not run.
TEST_F(SamplingCheck, FailedRunsGiveBoundsAndTooManyEndTheAnalysis) {
    Row(State, 1) = {1, 30, 0, 20, 4};
    Row(State, 2) = {2, 25, 0, 3, 3};
    project_.WriteModel("base 0.5\nterm 1 4 0.03 20\nterm 2 4 0.02 3\n"
                        "fault-above missing 1 4 27\n");
    const AnalysisRecord few =
        Analyse(Method::FirstOrder, Sampling(SamplingKind::MonteCarlo, 100, 0.01, 5), 2);
    ASSERT_TRUE(few.sampling);
    const SamplingResult& result = *few.sampling;
    EXPECT_EQ(result.samples, 100);
    EXPECT_FALSE(result.stoppedByTarget);
    EXPECT_GT(result.failedRuns, 0);
    EXPECT_GT(result.inadmissible, 0);
    EXPECT_EQ(result.errors.size(), std::min<std::size_t>(3, std::size_t(result.failedRuns)));
    EXPECT_EQ(result.probability, result.bounds[0]);
    EXPECT_DOUBLE_EQ(result.bounds[1] - result.bounds[0],
                     double(result.failedRuns + result.inadmissible) / result.samples);
    EXPECT_EQ(result.failedRunsDecide, result.bounds[1] > result.interval95[1]);
    EXPECT_THAT(log_, ::testing::Contains(
                          ::testing::HasSubstr("lognormal strengths keep the strengths above 0")));

    project_.WriteModel("base 0.5\nterm 1 4 0.03 20\nterm 2 4 0.02 3\n"
                        "fault-above missing 1 4 20\n");
    try {
        Analyse(Method::FirstOrder, Sampling(SamplingKind::MonteCarlo, 100, 0.01, 5), 2);
        FAIL() << "the analysis went on";
    } catch (const Error& error) {
        EXPECT_THAT(error.what(),
                    ::testing::MatchesRegex("Monte Carlo: [0-9]+ of 20 runs failed, more than "
                                            "10 %\\. The first failure: .+"));
    }
}

// Samples above c1 = 27 read a factor of 0: failed samples, never failures of the slope.
TEST_F(SamplingCheck, ASampleReadingAFactorOfZeroIsAFailedSample) {
    Row(State, 1) = {1, 30, 0, 20, 4};
    Row(State, 2) = {2, 25, 0, 3, 1};
    project_.WriteModel("base 0.5\nterm 1 4 0.03 20\nterm 2 4 0.02 3\n"
                        "fault-above zero 1 4 27\n");
    const AnalysisRecord record =
        Analyse(Method::FirstOrder, Sampling(SamplingKind::MonteCarlo, 100, 0.01, 5), 2);
    ASSERT_TRUE(record.sampling);
    const SamplingResult& result = *record.sampling;
    EXPECT_GT(result.failedRuns, 0);
    ASSERT_FALSE(result.errors.empty());
    EXPECT_THAT(result.errors[0],
                ::testing::StartsWith("The safety factor read is 0.0000, not a positive number"));
    EXPECT_DOUBLE_EQ(result.bounds[1] - result.bounds[0],
                     double(result.failedRuns + result.inadmissible) / result.samples);
}

// FORM's probability against the interval [0.02, 0.03]: below it the check finds more, above it
// less, on its ends it agrees; another method or none gives no comparison.
TEST(SamplingAgainstForm, FormOutsideTheIntervalDisagreesAndTheSentenceSaysWhichWay) {
    SamplingResult result;
    result.interval95 = {0.02, 0.03};
    const auto method = [](Method name, std::optional<double> probability) {
        MethodResult form;
        form.method = name;
        form.probability = probability;
        return std::optional(form);
    };
    const struct {
        std::optional<MethodResult> method;
        std::optional<bool> disagrees;
        std::string sentence;
    } cases[] = {
        {method(Method::Form, 0.01), true,
         "The sampling finds more probability of failure than FORM: FORM sees one failure "
         "mechanism."},
        {method(Method::Form, 0.04), true,
         "The sampling finds less probability of failure than FORM."},
        {method(Method::Form, 0.02), false, ""},
        {method(Method::Form, 0.03), false, ""},
        {method(Method::Form, std::nullopt), std::nullopt, ""},
        {method(Method::Taylor, 0.01), std::nullopt, ""},
        {std::nullopt, std::nullopt, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormDisagrees(result, c.method), c.disagrees) << c.sentence;
        if (!c.sentence.empty()) {
            EXPECT_EQ(FormDisagreesText(result, *c.method->probability), c.sentence);
        }
    }
}

TEST_F(SamplingCheck, ImportanceSamplingWithoutFormIsRefusedBeforeAnyRun) {
    project_.WriteModel("base 0.2\nterm 1 4 0.03 20\n");
    Row(State, 1) = {1, 30, 0, 20, 4};
    EXPECT_THROW(Analyse(Method::Taylor, Sampling(SamplingKind::Importance, 100, 0.1, 1)), Error);
    EXPECT_FALSE(std::filesystem::exists(project_.dataFile("history.txt")));
}

} // namespace
} // namespace zelmora
