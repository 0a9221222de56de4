#include "report/tables/sampling_summary.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace zelmora {
namespace {

SamplingResult Surrogate(const std::vector<int>& runsPerRound,
                         const std::vector<std::array<double, 2>>& leaveOneOut) {
    SamplingResult result;
    result.kind = SamplingKind::Surrogate;
    SurrogateFacts facts;
    facts.rounds = static_cast<int>(runsPerRound.size());
    facts.runsPerRound = runsPerRound;
    facts.leaveOneOut = leaveOneOut;
    facts.stoppedBy = "target-cov";
    result.surrogate = facts;
    return result;
}

// The value of the line named `name`; fails where there is none.
std::string Value(const std::vector<SummaryLine>& lines, const std::string& name) {
    const auto line = std::find_if(lines.begin(), lines.end(),
                                   [&name](const SummaryLine& l) { return l.name == name; });
    EXPECT_NE(line, lines.end()) << name;
    return line == lines.end() ? "" : line->value;
}

TEST(SamplingSummary, RunsPerRoundGroupEqualNeighboursAndStayShort) {
    struct Case {
        std::string name;
        std::vector<int> runs;
        std::string shown;
    };
    std::vector<int> alternating;
    for (int k = 0; k < 250; ++k) {
        alternating.push_back(k % 2 == 0 ? 4 : 3);
    }
    alternating.back() = 1;
    const std::vector<Case> cases = {
        {"one round", {7}, "7"},
        {"equal rounds and a last short one", {23, 23, 23, 23, 2}, "4 × 23, 2"},
        {"equal but not neighbours", {4, 2, 4}, "4, 2, 4"},
        {"eight groups in full", {1, 2, 3, 4, 5, 6, 7, 7, 8}, "1, 2, 3, 4, 5, 6, 2 × 7, 8"},
        {"250 rounds", alternating, "4, 3, 4, 3, 4, 3, 4, …, 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Value(SamplingSummary(Surrogate(c.runs, {}), std::nullopt), "RunsPerRound"),
                  c.shown);
    }
}

// The worst leave-one-out miss and the training points whose mean without them lies on the
// other side of F = 1 than their factor, either way.
TEST(SamplingSummary, TheLeaveOneOutFigures) {
    const std::vector<SummaryLine> lines = SamplingSummary(
        Surrogate({4}, {{0.9, 1.1}, {1.2, 1.15}, {1.05, 0.95}, {0.8, 0.75}}), std::nullopt);
    EXPECT_EQ(Value(lines, "LeaveOneOutError"), "0.2000");
    EXPECT_EQ(Value(lines, "LeaveOneOutOtherSide"), "2 of 4 training points");
}

// The surrogate's earlier lines stay as they were, the new ones after them, and only where
// there is something to show.
TEST(SamplingSummary, TheNewLinesFollowTheSurrogatesOwn) {
    std::vector<std::string> names;
    for (const SummaryLine& line : SamplingSummary(Surrogate({4, 4}, {{1.1, 1.2}}), std::nullopt)) {
        names.push_back(line.name);
    }
    const std::vector<std::string> expected = {"SamplingProbability", "Interval",
                                               "SamplingBeta",        "Cov",
                                               "Population",          "SurrogateRuns",
                                               "MethodRunsUsed",      "Rounds",
                                               "ErrorEstimate",       "FailedRuns",
                                               "StoppedBy",           "RunsPerRound",
                                               "LeaveOneOutError",    "LeaveOneOutOtherSide"};
    EXPECT_EQ(names, expected);
    for (const SummaryLine& line : SamplingSummary(Surrogate({}, {}), std::nullopt)) {
        EXPECT_EQ(line.name.rfind("LeaveOneOut", 0), std::string::npos) << line.name;
        EXPECT_NE(line.name, "RunsPerRound");
    }
}

// The points counted as failed in the upper bound though never run are named beside the runs.
TEST(SamplingSummary, TheSurrogatesInadmissiblePointsAreCounted) {
    SamplingResult result = Surrogate({4}, {});
    result.inadmissible = 115;
    EXPECT_EQ(Value(SamplingSummary(result, std::nullopt), "Inadmissible"), "115");
    for (const SummaryLine& line : SamplingSummary(Surrogate({4}, {}), std::nullopt)) {
        EXPECT_NE(line.name, "Inadmissible");
    }
}

} // namespace
} // namespace zelmora
