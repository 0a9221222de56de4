#include "slopecalc/bishop.h"
#include "slopecalc/model_reader.h"
#include "slopecalc/search.h"
#include "slopecalc/slice_breaks.h"
#include "slopecalc/slices.h"
#include "slopecalc/slip_surface.h"
#include "slopecalc_support.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numeric>
#include <string>
#include <vector>

namespace slopecalc {
namespace {

double FactorWithSlices(Model model, const Circle& circle, int slices) {
    model.slices = slices;
    model.circle = circle;
    return Analyse(model).back().best.factor;
}

// The cut through sand and three clays, the embankment of two fills on a soft clay and the
// layered example: each model's critical circle crosses several soils and, in the layered example,
// the water line; cut at those crossings, the factor converges as the slices get narrower.
TEST(SlopecalcSlices, FactorsConvergeWithTheSliceCount) {
    const std::vector<std::pair<std::string, Model>> models{
        {"cut in clays", ReadModelFile(testing::TestModelPath("cut_in_clays.plx"))},
        {"embankment", ReadModelFile(testing::TestModelPath("embankment.plx"))},
        {"layered", testing::LoadExample("layered.plx")}};
    struct Count {
        int slices;
        double tolerance; // relative to the factor at 5000 slices
    };
    const Count counts[] = {{20, 5e-3}, {50, 1.5e-3}, {200, 2e-4}, {1000, 2e-5}};
    for (const auto& [name, model] : models) {
        const Circle critical = SearchCriticalCircle(model).back().best.surface.circle;
        const double converged = FactorWithSlices(model, critical, 5000);
        for (const Count& c : counts) {
            EXPECT_NEAR(FactorWithSlices(model, critical, c.slices), converged,
                        c.tolerance * converged)
                << name << ", " << c.slices << " slices";
        }
    }
}

TEST(SlopecalcSlices, PiecesShareTheSlicesByWidth) {
    struct Case {
        std::vector<double> breaks;
        int requested;
        std::vector<int> counts;
    };
    const Case cases[] = {
        {{0, 10}, 50, {50}},
        {{0, 3, 10}, 10, {3, 7}},
        {{0, 1, 10}, 10, {1, 9}},
        {{0, 1e-6, 10}, 5, {1, 4}},         // a sliver keeps its own slice
        {{0, 0.5, 1.5, 10}, 10, {1, 1, 8}}, // rounded down, then given to the widest slices
        {{0, 0.1, 0.2, 10}, 5, {1, 1, 3}},  // the slivers' slices come out of the wide piece
        {{0, 1, 2, 3}, 2, {1, 1, 1}},       // more pieces than slices asked for
    };
    for (const Case& c : cases) {
        std::vector<int> counts;
        ShareSlices(c.breaks, c.requested, counts);
        EXPECT_EQ(counts, c.counts) << c.requested << " slices over " << c.breaks.size() - 1;
    }
}

// Level ground at 20 over a soil boundary at 15, water at 17 and a datum at 12, under a
// circle centred at (50, 30) with radius 20: each line meets the arc where
// (x - 50)^2 = 400 - (30 - y)^2.
TEST(SlopecalcSlices, BreaksLieAtTheCornersAndWhereTheArcCrossesALine) {
    const Model model = ParseModel("material 1 unit_weight 18 cohesion 10 phi 25\n"
                                   "material 2 unit_weight 19 cohesion 12 phi 0 cohesion_rate 1 "
                                   "datum 12\n"
                                   "boundary 1 0 20 45 20 55 20.5 100 20.5\n"
                                   "boundary 2 0 15 100 15\n"
                                   "water 0 17 100 17\n"
                                   "bedrock 0\n");
    const Circle circle{50, 30, 20};
    const auto surface = CutGround(model, circle);
    ASSERT_TRUE(surface.has_value());
    std::vector<double> breaks;
    SliceBreaks(model, *surface, breaks);
    const auto across = [](double y) { return std::sqrt(400 - (30 - y) * (30 - y)); };
    const std::vector<double> expected{
        surface->xLeft,  50 - across(17), 50 - across(15), 50 - across(12), 45, 55,
        50 + across(12), 50 + across(15), 50 + across(17), surface->xRight};
    ASSERT_EQ(breaks.size(), expected.size());
    for (std::size_t i = 0; i < breaks.size(); ++i) {
        EXPECT_NEAR(breaks[i], expected[i], 1e-9) << i;
    }
}

// On level ground the mass is a circular segment, R^2 (t - sin t) / 2 in area over an arc of
// R t: the slices hold it whole at any count, and none of their bases leaves its soil.
TEST(SlopecalcSlices, SlicesHoldTheMassWholeAtAnyCount) {
    const Model model = ParseModel("material 1 unit_weight 20 cohesion 10 phi 30\n"
                                   "boundary 1 0 20 100 20\n"
                                   "bedrock 0\n");
    const Circle circle{40, 30, 18};
    const double angle = 2 * std::acos(10.0 / 18);
    const double area = 18 * 18 * (angle - std::sin(angle)) / 2;
    const auto surface = CutGround(model, circle);
    ASSERT_TRUE(surface.has_value());
    for (int count : {2, 3, 50, 1000}) {
        Model sliced = model;
        sliced.slices = count;
        std::vector<Slice> slices;
        CutSlices(sliced, *surface, slices);
        ASSERT_EQ(slices.size(), static_cast<std::size_t>(count));
        const auto sum = [&](double Slice::*field) {
            return std::accumulate(slices.begin(), slices.end(), 0.0,
                                   [&](double total, const Slice& s) { return total + s.*field; });
        };
        EXPECT_NEAR(sum(&Slice::weight), 20 * area, 1e-9 * area) << count;
        EXPECT_NEAR(sum(&Slice::baseLength), 18 * angle, 1e-12 * angle) << count;
        EXPECT_NEAR(sum(&Slice::width), surface->xRight - surface->xLeft, 1e-12) << count;
    }
}

} // namespace
} // namespace slopecalc
