#include "slopecalc/model_reader.h"
#include "slopecalc/modification.h"
#include "slopecalc/search.h"
#include "slopecalc/slices.h"
#include "slopecalc/slip_surface.h"
#include "slopecalc_support.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

namespace slopecalc {
namespace {

// A 10 m clay slope at 1:2 over 10 m more of the clay, from the crest at 20 to the bedrock.
constexpr const char* ClaySlope = "boundary 1 0 20 20 20 40 10 80 10\n"
                                  "bedrock 0\n";

// Its cohesion rises from c at the datum by k per metre of depth.
Model RisingClay(double c, double k, double datum) {
    return ParseModel("material 1 unit_weight 18 cohesion " + std::to_string(c) +
                      " phi 5 cohesion_rate " + std::to_string(k) + " datum " +
                      std::to_string(datum) + "\n" + ClaySlope);
}

// The same clay in layers of the given thickness, each with the cohesion of its mid-depth;
// layers above the toe end on the slope face.
Model LayeredClay(double c, double k, double thickness) {
    std::string text = "bedrock 0\n";
    int set = 0;
    for (double top = 20; top > 1e-9; top -= thickness) {
        ++set;
        const double middle = top - thickness / 2;
        text += "material " + std::to_string(set) + " unit_weight 18 cohesion " +
                std::to_string(c + k * (20 - middle)) + " phi 5\n";
        const double face = 20 + 2 * (20 - top); // where the face reaches this elevation
        const std::string y = std::to_string(top);
        text += "boundary " + std::to_string(set) + " 0 " + y +
                (top > 10 ? " " + std::to_string(face) + " " + y + " 40 10 80 10\n"
                          : " 80 " + y + "\n");
    }
    return ParseModel(text);
}

double CriticalFactor(const Model& model) {
    return SearchCriticalCircle(model).back().best.factor;
}

TEST(SlopecalcStrength, CohesionRisingWithDepthMatchesThinLayersOfItsMidDepthStrength) {
    struct Case {
        double c;
        double k;
    };
    for (const Case c : {Case{15, 2}, Case{5, 4}}) {
        const double rising = CriticalFactor(RisingClay(c.c, c.k, 20));
        const double layered = CriticalFactor(LayeredClay(c.c, c.k, 0.5));
        EXPECT_NEAR(rising, layered, 0.01 * layered) << c.c << " + " << c.k << " z";
        // Not a match by chance: the clay at its datum strength alone is far weaker.
        EXPECT_LT(CriticalFactor(RisingClay(c.c, 0, 20)), 0.8 * rising);
    }
}

TEST(SlopecalcStrength, EachSliceTakesTheCohesionAtItsBase) {
    const Model model = RisingClay(15, 2, 14);
    const auto surface = CutGround(model, {40, 40, 30});
    ASSERT_TRUE(surface.has_value());
    std::vector<Slice> slices;
    CutSlices(model, *surface, slices);
    int below = 0;
    for (const Slice& s : slices) {
        below += s.base < 14 ? 1 : 0;
        EXPECT_DOUBLE_EQ(s.cohesion, s.base < 14 ? 15 + 2 * (14 - s.base) : 15) << s.x;
    }
    EXPECT_GT(below, 0);
    EXPECT_LT(below, static_cast<int>(slices.size()));
}

// The modification file sets the cohesion at the datum; the rate stays the model's.
TEST(SlopecalcStrength, AModifiedCohesionMovesTheWholeProfile) {
    Model modified = RisingClay(15, 2, 20);
    ApplyModifications(modified, ParseModifications("1\r\n1 1 4  9.0000\r\n", modified));
    EXPECT_EQ(modified.materials.at(1).cohesionRate, 2);
    EXPECT_EQ(modified.materials.at(1).datum, 20);
    EXPECT_EQ(CriticalFactor(modified), CriticalFactor(RisingClay(9, 2, 20)));
}

// The layered example without its water line: three soils under a pore-pressure ratio, each
// soil with the ratio of its own that `own` gives it.
Model DrainedLayers(double global, const std::vector<std::optional<double>>& own) {
    Model model = testing::LoadExample("layered.plx");
    model.water.reset();
    model.poreRatio = global;
    for (std::size_t set = 1; set <= own.size(); ++set) {
        model.materials.at(static_cast<std::int32_t>(set)).poreRatio = own[set - 1];
    }
    return model;
}

TEST(SlopecalcStrength, AMaterialsOwnPorePressureRatioStandsInForTheModels) {
    struct Case {
        const char* what;
        Model own;
        Model global;
    };
    const Case cases[] = {
        {"0.25 in every soil", DrainedLayers(0, {0.25, 0.25, 0.25}), DrainedLayers(0.25, {})},
        {"0 in every soil over a global 0.3", DrainedLayers(0.3, {0.0, 0.0, 0.0}),
         DrainedLayers(0, {})},
        {"the global ratio where a soil has none", DrainedLayers(0.2, {0.2, std::nullopt, 0.2}),
         DrainedLayers(0.2, {})},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CriticalFactor(c.own), CriticalFactor(c.global)) << c.what;
    }
}

// Each slice takes the ratio of the soil its base lies in; the three soils' friction angles
// differ, which tells them apart.
TEST(SlopecalcStrength, EachSliceTakesThePorePressureRatioOfItsBaseSoil) {
    const Model mixed = DrainedLayers(0.1, {std::nullopt, 0.3, 0.5});
    const Circle circle = SearchCriticalCircle(mixed).back().best.surface.circle;
    std::vector<Slice> slices;
    CutSlices(mixed, *CutGround(mixed, circle), slices);
    const std::pair<std::int32_t, double> ratios[] = {{1, 0.1}, {2, 0.3}, {3, 0.5}};
    for (const auto& [set, ratio] : ratios) {
        const double tanPhi = std::tan(mixed.materials.at(set).phiDegrees * std::numbers::pi / 180);
        int met = 0;
        for (const Slice& s : slices) {
            if (s.tanPhi == tanPhi) {
                ++met;
                EXPECT_DOUBLE_EQ(s.poreForce, ratio * s.weight) << "set " << set << " at " << s.x;
            }
        }
        EXPECT_GT(met, 0) << "set " << set;
    }
}

} // namespace
} // namespace slopecalc
