#include "slopecalc/inputs_overflow.h"
#include "slopecalc/model_reader.h"
#include "slopecalc/slip_surface.h"
#include "slopecalc_support.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <optional>

namespace slopecalc {
namespace {

// The homogeneous example with the bedrock lowered, so that only the ground decides: toe at
// (30, 25), crest at (50, 35), ground from x = 0 to 90.
Model Slope() {
    Model model = testing::LoadExample("homogeneous.plx");
    model.bedrock = -100;
    return model;
}

// The model's extent is its width, 90; a touch may reach this far past the ground.
constexpr double Tolerance = TouchTolerance * 90;

void ExpectEndsOnTheGround(const Model& model, const Circle& circle, const SlipSurface& surface) {
    for (double x : {surface.xLeft, surface.xRight}) {
        EXPECT_NEAR(ArcElevation(circle, x), model.Ground().ElevationAt(x), 1e-9) << x;
    }
}

TEST(SlopecalcGroundCut, CirclesThroughCornersOfTheGroundAreAdmitted) {
    const Model model = Slope();
    struct Corners {
        double xa;
        double xb;
    };
    // Toe, crest and the last point of the ground, also two at once; many of these were lost
    // when rounding put a corner's crossing on both segments or on neither.
    const Corners cases[] = {{30, 40}, {30, 50}, {30, 90}, {20, 30}, {50, 90}, {60, 90}};
    for (const Corners& c : cases) {
        for (double degrees : {20.0, 30.0, 40.0, 50.0}) {
            const Circle circle =
                CircleThroughGround(model.Ground(), c.xa, c.xb, degrees * std::numbers::pi / 180);
            const std::optional<SlipSurface> surface = CutGround(model, circle);
            ASSERT_TRUE(surface.has_value()) << c.xa << " " << c.xb << " " << degrees;
            ExpectEndsOnTheGround(model, circle, *surface);
        }
    }
}

struct TouchCase {
    const char* what;
    Circle circle;
    bool admissible;
};

TEST(SlopecalcGroundCut, TouchesWithinTheToleranceNeitherCutNorSplitTheGround) {
    const Model model = Slope();
    // Lowest point on the toe plateau at x = 25: the cut lies on the slope face, 31.4 to 44.6.
    const auto dipping = [](double depth) { return Circle{25, 55 - depth, 30}; };
    // Through the toe from below: the arc meets the ground there between two cut stretches.
    const double throughToe = std::hypot(10.0, 35.0);
    const auto lifted = [&](double height) { return Circle{20, 60 + height, throughToe}; };
    const TouchCase cases[] = {
        {"touching the plateau", dipping(0), true},
        {"0.5 tolerance below the plateau", dipping(0.5 * Tolerance), true},
        {"0.9 tolerance below the plateau", dipping(0.9 * Tolerance), true},
        {"2 tolerances below the plateau: four crossings", dipping(2 * Tolerance), false},
        {"1e-6 below the plateau: four crossings", dipping(1e-6), false},
        {"0.5 tolerance above the toe", lifted(0.5 * Tolerance), true},
        {"2 tolerances above the toe: two slides", lifted(2 * Tolerance), false},
    };
    for (const TouchCase& c : cases) {
        const std::optional<SlipSurface> surface = CutGround(model, c.circle);
        ASSERT_EQ(surface.has_value(), c.admissible) << c.what;
        if (surface) {
            ExpectEndsOnTheGround(model, c.circle, *surface);
        }
    }
    EXPECT_NEAR(CutGround(model, dipping(0.5 * Tolerance))->xLeft, 31.37, 0.01);
    EXPECT_NEAR(CutGround(model, lifted(0.5 * Tolerance))->xLeft, 10, 1e-6);
}

TEST(SlopecalcGroundCut, ToleranceScalesWithTheModel) {
    // The same slope a thousand times smaller: a dip of 1e-9 is beyond its tolerance.
    const Model small = ParseModel("material 1 unit_weight 20 cohesion 3 phi 19.6\n"
                                   "boundary 1 0 0.025 0.03 0.025 0.05 0.035 0.09 0.035\n"
                                   "bedrock -0.1\n");
    EXPECT_TRUE(CutGround(small, {0.025, 0.055 - 0.5 * TouchTolerance * 0.09, 0.03}).has_value());
    EXPECT_FALSE(CutGround(small, {0.025, 0.055 - 1e-9, 0.03}).has_value());
}

TEST(SlopecalcGroundCut, ArcStillBelowTheGroundWhereTheCircleEndsIsNoSlipSurface) {
    const Model model = Slope();
    // Centre below the slope face: the lower arc ends under the ground on its right.
    EXPECT_FALSE(CutGround(model, {40, 29, 3}).has_value());
    EXPECT_TRUE(CutGround(model, {40, 33, 3}).has_value());
}

TEST(SlopecalcGroundCut, CircleBeyondTheRangeOfNumbersIsAnOverflow) {
    const Model model = Slope();
    EXPECT_THROW(CutGround(model, {40, 50, 1e308}), InputsOverflow);
    const Model huge = ParseModel("material 1 unit_weight 20 cohesion 3 phi 20\n"
                                  "boundary 1 -1.5e308 0 0 0 1.5e308 1\n"
                                  "bedrock -1\n");
    EXPECT_THROW(CutGround(huge, {0, 1, 1.5}), InputsOverflow);
}

} // namespace
} // namespace slopecalc
