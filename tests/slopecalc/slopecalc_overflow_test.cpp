#include "slopecalc/bishop.h"
#include "slopecalc/inputs_overflow.h"
#include "slopecalc/model_reader.h"
#include "slopecalc/search.h"
#include "slopecalc_support.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <string>
#include <vector>

namespace slopecalc {
namespace {

// Slices of width 1 in a soil with phi = 30 degrees, whose bases slope at alpha degrees.
std::vector<Slice> Slices(int count, double alphaDegrees, double weight, double cohesion,
                          double poreForce = 0) {
    const double alpha = alphaDegrees * std::numbers::pi / 180;
    const Slice slice{.x = 0,
                      .width = 1,
                      .base = 0,
                      .top = 0,
                      .weight = weight,
                      .baseLength = 1 / std::cos(alpha),
                      .sinAlpha = std::sin(alpha),
                      .cosAlpha = std::cos(alpha),
                      .cohesion = cohesion,
                      .tanPhi = std::tan(std::numbers::pi / 6),
                      .poreForce = poreForce};
    return std::vector<Slice>(static_cast<std::size_t>(count), slice);
}

TEST(SlopecalcOverflow, SumsOrAFactorBeyondTheRangeOfNumbersAreAnError) {
    struct Case {
        const char* what;
        std::vector<Slice> slices;
    };
    const Case cases[] = {
        {"weights", Slices(2, 30, 1e308, 10)},
        {"cohesion terms", Slices(50, 30, 500, 1e307)},
        {"pore forces, hidden by the floor of the effective weight", Slices(2, 30, 500, 10, 1e308)},
        {"the factor", Slices(2, 30, 1e-10, 1e300)},
    };
    for (const Case& c : cases) {
        EXPECT_THROW(SolveBishop(c.slices), InputsOverflow) << c.what;
    }
    const BishopResult large = SolveBishop(Slices(2, 30, 500, 1e300));
    EXPECT_EQ(large.status, BishopStatus::Converged);
    EXPECT_TRUE(std::isfinite(large.factor));
}

TEST(SlopecalcOverflow, OverflowingInputsEndTheAnalysisWithTheirOwnMessage) {
    struct Case {
        const char* what;
        const char* model;
    };
    const Case cases[] = {
        {"cohesion 1e307, once a factor of the few narrow circles",
         "material 1 unit_weight 20 cohesion 1e307 phi 19.6\n"},
        {"cohesion 1e308, once \"no circle cuts the ground surface twice\"",
         "material 1 unit_weight 20 cohesion 1e308 phi 19.6\n"},
        {"unit weight", "material 1 unit_weight 1e308 cohesion 3 phi 19.6\n"},
        {"water", "material 1 unit_weight 20 cohesion 3 phi 19.6\n"
                  "water 0 30 90 30\nwater_unit_weight 1e308\n"},
        {"given circle", "material 1 unit_weight 20 cohesion 3 phi 19.6\ncircle 40 50 1e308\n"},
    };
    for (const Case& c : cases) {
        const Model model =
            ParseModel(std::string(c.model) + "boundary 1 0 25 30 25 50 35 90 35\nbedrock 20\n");
        try {
            Analyse(model);
            ADD_FAILURE() << "no error for " << c.what;
        } catch (const InputsOverflow& error) {
            EXPECT_STREQ(error.what(), "the inputs overflow: the sums over a circle exceed the "
                                       "largest number (about 1.8e308)")
                << c.what;
        }
    }
}

// Far from overflowing, the friction's share vanishes and the factor grows with the cohesion.
TEST(SlopecalcOverflow, LargeButFiniteInputsStillGiveTheirFactor) {
    Model model = testing::LoadExample("homogeneous.plx");
    model.materials.at(1).cohesion = 1e299;
    const double smaller = Analyse(model).back().best.factor;
    model.materials.at(1).cohesion = 1e300;
    const double larger = Analyse(model).back().best.factor;
    EXPECT_TRUE(std::isfinite(larger));
    EXPECT_NEAR(larger / smaller, 10, 1e-9);
}

} // namespace
} // namespace slopecalc
