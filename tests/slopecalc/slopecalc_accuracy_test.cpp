#include "slopecalc/model_reader.h"
#include "slopecalc/search.h"
#include "slopecalc_support.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <string>

namespace slopecalc {
namespace {

double CriticalFactor(const Model& model) {
    return Analyse(model).back().best.factor;
}

TEST(SlopecalcAccuracy, HomogeneousSlopeSearchedMinimumMatchesPublishedBishopValues) {
    const double factor = CriticalFactor(testing::LoadExample("homogeneous.plx"));
    for (double published : {0.987, 0.985}) {
        EXPECT_NEAR(factor, published, 0.01 * published) << "published " << published;
    }
}

struct GivenCircleCase {
    double poreRatio;
    double published;
};

TEST(SlopecalcAccuracy, ImperialGivenCircleMatchesPublishedBishopValues) {
    const GivenCircleCase cases[] = {{0, 2.080}, {0.25, 1.766}};
    for (const GivenCircleCase& c : cases) {
        Model model = testing::LoadExample("imperial.plx");
        model.poreRatio = c.poreRatio;
        EXPECT_NEAR(CriticalFactor(model), c.published, 0.005 * c.published)
            << "ru " << c.poreRatio;
    }
}

// A cohesionless dry slope fails along ever shallower surfaces: the searched minimum tends to
// the factor of an infinite slope, tan phi / tan beta, and never falls below it.
TEST(SlopecalcAccuracy, LongCohesionlessSlopeApproachesTheInfiniteSlopeFromAbove) {
    struct SlopeCase {
        double phi;
        double rise; // per unit run
    };
    for (const SlopeCase c : {SlopeCase{30, 0.5}, SlopeCase{35, 0.4}}) {
        const std::string text = "material 1 unit_weight 18 cohesion 0 phi " +
                                 std::to_string(c.phi) + "\nboundary 1 0 0 20 0 420 " +
                                 std::to_string(400 * c.rise) + " 440 " +
                                 std::to_string(400 * c.rise) + "\nbedrock -50\n";
        const double limit = std::tan(c.phi * std::numbers::pi / 180) / c.rise;
        const double factor = CriticalFactor(ParseModel(text));
        EXPECT_GE(factor, limit * (1 - 1e-9)) << "phi " << c.phi;
        EXPECT_LE(factor, limit * 1.01) << "phi " << c.phi;
    }
}

} // namespace
} // namespace slopecalc
