#include "report/charts/leave_one_out_chart.h"
#include "tests/support/svg_matches.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <regex>
#include <string>
#include <vector>

namespace zelmora {
namespace {

// The value at a coordinate, read from the first and last of (coordinate, value) ticks.
double ValueAt(const std::vector<std::array<double, 2>>& ticks, double at) {
    EXPECT_GE(ticks.size(), 2U);
    const auto [c0, v0] = ticks.front();
    const auto [c1, v1] = ticks.back();
    return v0 + (at - c0) / (c1 - c0) * (v1 - v0);
}

struct Scales {
    std::vector<std::array<double, 2>> x;
    std::vector<std::array<double, 2>> y;
};

Scales ScalesOf(const std::string& svg) {
    Scales scales{
        test_support::SvgMatches(
            svg, R"re(<text x="([-0-9.]+)" y="212.0" text-anchor="middle"[^>]*>([0-9.]+)<)re"),
        test_support::SvgMatches(
            svg, R"re(<text x="58.0" y="([-0-9.]+)" text-anchor="end"[^>]*>([0-9.]+)<)re")};
    for (auto& tick : scales.y) {
        tick[0] -= 4; // the label's baseline sits below its grid line
    }
    return scales;
}

SamplingResult WithPairs(const std::vector<std::array<double, 2>>& pairs) {
    SamplingResult result;
    result.kind = SamplingKind::Surrogate;
    result.surrogate = SurrogateFacts{};
    result.surrogate->leaveOneOut = pairs;
    return result;
}

// A point at each training point's factor across and its leave-one-out mean up, F = 1 marked
// on both axes, whichever side of 1 the points lie.
TEST(LeaveOneOutChart, APointAtEachPairAndFOneOnBothAxes) {
    struct Case {
        std::string name;
        std::vector<std::array<double, 2>> pairs;
    };
    const std::vector<Case> cases = {
        {"around 1", {{0.85, 0.9}, {1.02, 0.97}, {1.4, 1.55}, {1.1, 1.1}}},
        {"all safe", {{1.3, 1.25}, {1.8, 2.1}, {2.4, 2.2}}},
        {"a wild mean", {{0.95, 0.96}, {1.2, 3.5}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string svg = LeaveOneOutChartSvg(WithPairs(c.pairs));
        const Scales scales = ScalesOf(svg);
        std::vector<std::array<double, 2>> points;
        for (const auto& [cx, cy] :
             test_support::SvgMatches(svg, R"re(<circle cx="([-0-9.]+)" cy="([-0-9.]+)")re")) {
            points.push_back({ValueAt(scales.x, cx), ValueAt(scales.y, cy)});
        }
        ASSERT_EQ(points.size(), c.pairs.size());
        for (std::size_t k = 0; k < points.size(); ++k) {
            EXPECT_NEAR(points[k][0], c.pairs[k][0], 0.02) << k;
            EXPECT_NEAR(points[k][1], c.pairs[k][1], 0.02) << k;
        }
        const auto dashed = test_support::SvgMatches(
            svg, R"re(<line x1="([-0-9.]+)" y1="([-0-9.]+)"[^>]*stroke-dasharray)re");
        ASSERT_EQ(dashed.size(), 2U);
        EXPECT_NEAR(ValueAt(scales.x, dashed[0][0]), 1, 0.02);
        EXPECT_NEAR(ValueAt(scales.y, dashed[1][1]), 1, 0.02);
    }
}

TEST(LeaveOneOutChart, NothingWithoutPairs) {
    EXPECT_EQ(LeaveOneOutChartSvg(SamplingResult{}), "");
    EXPECT_EQ(LeaveOneOutChartSvg(WithPairs({})), "");
}

} // namespace
} // namespace zelmora
