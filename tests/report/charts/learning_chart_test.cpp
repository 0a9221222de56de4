#include "report/charts/learning_chart.h"
#include "tests/support/svg_matches.h"

#include <gtest/gtest.h>
#include <regex>
#include <string>
#include <vector>

namespace zelmora {
namespace {

constexpr double PlotTop = 40;
constexpr double PlotBottom = 196;

std::vector<std::array<double, 2>> Markers(const std::string& svg) {
    return test_support::SvgMatches(svg, R"re(<circle cx="([-0-9.]+)" cy="([-0-9.]+)")re");
}

// The runs at an x, read from the first and last tick labels under the plot.
double RunsAt(const std::string& svg, double x) {
    const auto ticks = test_support::SvgMatches(
        svg, R"re(<text x="([-0-9.]+)" y="212.0" text-anchor="middle"[^>]*>(\d+)<)re");
    EXPECT_GE(ticks.size(), 2U);
    const auto [x0, r0] = ticks.front();
    const auto [x1, r1] = ticks.back();
    return r0 + (x - x0) / (x1 - x0) * (r1 - r0);
}

SamplingResult Surrogate(int methodRuns, const std::vector<int>& runsPerRound) {
    SamplingResult result;
    result.kind = SamplingKind::Surrogate;
    SurrogateFacts facts;
    facts.methodRunsUsed = methodRuns;
    facts.runsPerRound = runsPerRound;
    facts.rounds = static_cast<int>(runsPerRound.size());
    result.surrogate = facts;
    for (std::size_t k = 0; k < runsPerRound.size(); ++k) {
        const double p = 0.03 + 0.002 * static_cast<double>(k % 3);
        result.history.push_back({10000, p, {p - 0.008, p + 0.01}});
    }
    return result;
}

// One marker a round, at the runs of the method plus the surrogate's own up to that round.
TEST(LearningChart, EachRoundsMarkerStandsAtTheRunsMadeSoFar) {
    struct Case {
        std::string name;
        int methodRuns;
        std::vector<int> runsPerRound;
    };
    const std::vector<Case> cases = {
        {"even rounds after FORM", 15, {4, 4, 4, 4, 4}},
        {"uneven rounds", 3, {8, 1, 1, 12, 2, 30}},
        {"one round", 40, {6}},
        {"a round without runs", 10, {5, 0, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string svg = LearningChartSvg(Surrogate(c.methodRuns, c.runsPerRound));
        const std::vector<std::array<double, 2>> markers = Markers(svg);
        ASSERT_EQ(markers.size(), c.runsPerRound.size());
        int runs = c.methodRuns;
        for (std::size_t k = 0; k < markers.size(); ++k) {
            runs += c.runsPerRound[k];
            EXPECT_NEAR(RunsAt(svg, markers[k][0]), runs, 0.3) << "round " << k + 1;
            EXPECT_GT(markers[k][1], PlotTop);
            EXPECT_LT(markers[k][1], PlotBottom);
        }
    }
}

// The band of 0.022 to 0.04 fills the plot: the axis is not the probability's whole range.
TEST(LearningChart, TheProbabilityAxisFitsTheBand) {
    const std::string svg = LearningChartSvg(Surrogate(15, {4, 4, 4}));
    const auto ticks = test_support::SvgMatches(
        svg, R"re(<text x="58.0" y="([-0-9.]+)" text-anchor="end"[^>]*>([0-9.]+)<)re");
    ASSERT_GE(ticks.size(), 3U);
    EXPECT_GE(ticks.front()[1], 0.015);
    EXPECT_LE(ticks.back()[1], 0.05);
}

TEST(LearningChart, NothingForTheOtherKindsOrWithoutAHistoryRoundForRound) {
    SamplingResult monteCarlo;
    monteCarlo.history = {{20, 0.03, {0.01, 0.05}}, {40, 0.025, {0.015, 0.035}}};
    EXPECT_EQ(LearningChartSvg(monteCarlo), "");
    SamplingResult importance = monteCarlo;
    importance.kind = SamplingKind::Importance;
    EXPECT_EQ(LearningChartSvg(importance), "");

    SamplingResult noHistory = Surrogate(15, {4, 4});
    noHistory.history.clear();
    EXPECT_EQ(LearningChartSvg(noHistory), "");
    SamplingResult noRounds = Surrogate(15, {4, 4});
    noRounds.surrogate->runsPerRound.clear();
    EXPECT_EQ(LearningChartSvg(noRounds), "");
}

} // namespace
} // namespace zelmora
