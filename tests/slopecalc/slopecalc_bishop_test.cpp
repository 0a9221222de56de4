#include "slopecalc/bishop.h"
#include "slopecalc/circle_evaluator.h"
#include "slopecalc/model_reader.h"
#include "slopecalc/slices.h"
#include "slopecalc/slip_surface.h"
#include "slopecalc_support.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <vector>

namespace slopecalc {
namespace {

std::vector<Slice> SlicesOf(const Model& model, const Circle& circle) {
    const auto surface = CutGround(model, circle);
    EXPECT_TRUE(surface.has_value());
    std::vector<Slice> slices;
    if (surface) {
        CutSlices(model, *surface, slices);
    }
    return slices;
}

// The converged factor must satisfy Bishop's equation to the iteration's tolerance.
TEST(SlopecalcBishop, ConvergedFactorSolvesTheEquation) {
    const Model model = testing::LoadExample("imperial.plx");
    for (double ru : {0.0, 0.25, 0.6}) {
        Model wet = model;
        wet.poreRatio = ru;
        const std::vector<Slice> slices = SlicesOf(wet, *wet.circle);
        const BishopResult result = SolveBishop(slices);
        ASSERT_EQ(result.status, BishopStatus::Converged) << ru;
        // The mass slides towards larger x, so alpha is measured the other way round.
        EXPECT_FALSE(result.movesLeft);
        double resisting = 0;
        double driving = 0;
        for (const Slice& s : slices) {
            const double m =
                std::max(MAlphaFloor, s.cosAlpha - s.sinAlpha * s.tanPhi / result.factor);
            resisting +=
                (s.cohesion * s.baseLength * s.cosAlpha + (s.weight - s.poreForce) * s.tanPhi) / m;
            driving -= s.weight * s.sinAlpha;
        }
        EXPECT_NEAR(resisting / driving, result.factor, 1e-5) << ru;
    }
}

// With phi = 0, m_alpha is cos alpha and the factor is c times the arc length over the
// driving moment per radius.
TEST(SlopecalcBishop, UndrainedFactorIsCohesionAlongTheArcOverTheDrivingMoment) {
    const Model model = ParseModel("material 1 unit_weight 18 cohesion 30 phi 0\n"
                                   "boundary 1 0 20 20 20 40 10 60 10\n"
                                   "bedrock 0\n"
                                   "slices 2000\n");
    const Circle circle{36, 32, 20};
    const auto surface = CutGround(model, circle);
    ASSERT_TRUE(surface.has_value());
    const std::vector<Slice> slices = SlicesOf(model, circle);
    double driving = 0;
    for (const Slice& s : slices) {
        driving += s.weight * s.sinAlpha;
    }
    const double angle = std::asin((surface->xRight - circle.xc) / circle.radius) -
                         std::asin((surface->xLeft - circle.xc) / circle.radius);
    const BishopResult result = SolveBishop(slices);
    ASSERT_EQ(result.status, BishopStatus::Converged);
    EXPECT_NEAR(result.factor, 30 * circle.radius * angle / std::fabs(driving), 1e-4);
}

Slice MadeSlice(double alphaDegrees, double weight, double cohesion, double phiDegrees) {
    const double alpha = alphaDegrees * std::numbers::pi / 180;
    return {0,
            1,
            0,
            0,
            weight,
            1 / std::cos(alpha),
            std::sin(alpha),
            std::cos(alpha),
            cohesion,
            std::tan(phiDegrees * std::numbers::pi / 180),
            0};
}

TEST(SlopecalcBishop, SteepToeSlicesTakeTheFloorAndTheFactorStaysFinite) {
    // A toe slice whose base climbs at 60 degrees against the motion: its m_alpha falls below
    // the floor at any factor under 2.4.
    const std::vector<Slice> slices{MadeSlice(50, 500, 0, 40), MadeSlice(-60, 20, 0, 40)};
    const BishopResult result = SolveBishop(slices);
    ASSERT_EQ(result.status, BishopStatus::Converged);
    EXPECT_EQ(SlicesOnFloor(slices, result), 1);
    const Slice& driver = slices[0];
    const Slice& toe = slices[1];
    const double m = driver.cosAlpha + driver.sinAlpha * driver.tanPhi / result.factor;
    const double expected = ((driver.cohesion + driver.weight * driver.tanPhi) / m +
                             (toe.cohesion + toe.weight * toe.tanPhi) / MAlphaFloor) /
                            (driver.weight * driver.sinAlpha + toe.weight * toe.sinAlpha);
    EXPECT_NEAR(result.factor, expected, 1e-5);
}

TEST(SlopecalcBishop, NoDrivingMomentIsNoFactor) {
    const std::vector<Slice> slices{MadeSlice(30, 50, 5, 30), MadeSlice(-30, 50, 5, 30)};
    EXPECT_EQ(SolveBishop(slices).status, BishopStatus::NoDrivingMoment);
}

TEST(SlopecalcBishop, PorePressureAboveTheWeightAddsNoTension) {
    const Model dry = ParseModel("material 1 unit_weight 20 cohesion 0 phi 30\n"
                                 "boundary 1 0 20 20 20 40 10 60 10\n"
                                 "bedrock 0\n");
    Model flooded = dry;
    flooded.water = Polyline({{0, 200}, {60, 200}});
    const std::vector<Slice> slices = SlicesOf(flooded, {36, 32, 20});
    EXPECT_EQ(SolveBishop(slices).status, BishopStatus::NoStrength);
}

TEST(SlopecalcGeometry, AdmitsOnlyCirclesCuttingTheGroundTwiceAboveTheBedrock) {
    const Model model = testing::LoadExample("homogeneous.plx");
    struct Case {
        Circle circle;
        bool admissible;
    };
    const Case cases[] = {
        {{40, 50, 20}, true},  // through the slope face
        {{40, 50, 26}, true},  // reaching the toe plateau
        {{40, 50, 31}, false}, // below the bedrock at 20
        {{40, 50, 5}, false},  // wholly in the air
        {{0, 30, 20}, false},  // leaves the ground's x-range on the left
        {{45, 90, 95}, false}, // a crossing beyond the last point
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CutGround(model, c.circle).has_value(), c.admissible)
            << c.circle.xc << " " << c.circle.yc << " " << c.circle.radius;
    }
    const Circle through = CircleThroughGround(model.Ground(), 30, 60, 40 * std::numbers::pi / 180);
    const auto surface = CutGround(model, through);
    ASSERT_TRUE(surface.has_value());
    EXPECT_NEAR(surface->xLeft, 30, 1e-9);
    EXPECT_NEAR(surface->xRight, 60, 1e-9);
}

} // namespace
} // namespace slopecalc
