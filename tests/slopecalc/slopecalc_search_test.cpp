#include "slopecalc/circle_evaluator.h"
#include "slopecalc/input_error.h"
#include "slopecalc/model_reader.h"
#include "slopecalc/search.h"
#include "slopecalc_support.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

namespace slopecalc {
namespace {

// The examples as searches, the imperial one without its given circle, and a slope of two
// benches whose two faces make two valleys of similar depth.
std::vector<std::pair<std::string, Model>> SearchedExamples() {
    std::vector<std::pair<std::string, Model>> models;
    for (const char* name : {"homogeneous.plx", "imperial.plx", "layered.plx"}) {
        Model model = testing::LoadExample(name);
        model.circle.reset();
        models.emplace_back(name, std::move(model));
    }
    models.emplace_back("two benches", ParseModel("material 1 unit_weight 19 cohesion 6 phi 25\n"
                                                  "boundary 1 0 0 20 0 30 6 50 6 60 12 80 12\n"
                                                  "bedrock -10\n"));
    return models;
}

// The least factor over a dense grid of centres and radii, independent of the search's own
// parametrisation by entry point, exit point and arc angle.
double BruteForceMinimum(const Model& model) {
    const Polyline& ground = model.Ground();
    double top = ground.Points().front().y;
    double bottom = top;
    for (const Point& p : ground.Points()) {
        top = std::max(top, p.y);
        bottom = std::min(bottom, p.y);
    }
    const double width = ground.LastX() - ground.FirstX();
    constexpr int Steps = 60;
    CircleEvaluator evaluator(model);
    double least = std::numeric_limits<double>::infinity();
    for (int i = 0; i <= Steps; ++i) {
        const double xc = ground.FirstX() + width * i / Steps;
        for (int j = 1; j <= Steps; ++j) {
            const double yc = top + width * j / Steps;
            for (int k = 0; k <= Steps; ++k) {
                const double lowest = model.bedrock + (top - model.bedrock) * k / Steps;
                least = std::min(least, evaluator.Evaluate({xc, yc, yc - lowest}).factor);
            }
        }
    }
    return least;
}

TEST(SlopecalcSearch, FindsNoHigherMinimumThanADenseBruteForceScan) {
    for (const auto& [name, model] : SearchedExamples()) {
        const double searched = SearchCriticalCircle(model).back().best.factor;
        const double scanned = BruteForceMinimum(model);
        ASSERT_LT(scanned, std::numeric_limits<double>::infinity()) << name;
        EXPECT_LE(searched, scanned * (1 + 2e-4)) << name;
        EXPECT_GT(searched, scanned * 0.95) << name;
    }
}

TEST(SlopecalcSearch, StagesNeverWorsenAndTheLastCircleReproducesItsFactor) {
    for (const auto& [name, model] : SearchedExamples()) {
        const std::vector<StageResult> stages = SearchCriticalCircle(model);
        ASSERT_GE(stages.size(), 2u) << name;
        for (std::size_t i = 1; i < stages.size(); ++i) {
            EXPECT_LE(stages[i].best.factor, stages[i - 1].best.factor) << name << " stage " << i;
        }
        CircleEvaluator evaluator(model);
        const Evaluation again = evaluator.Evaluate(stages.back().best.surface.circle);
        EXPECT_TRUE(again.admissible) << name;
        EXPECT_DOUBLE_EQ(again.factor, stages.back().best.factor) << name;
    }
}

Model Mirrored(const Model& model) {
    Model mirrored = model;
    mirrored.boundaries.clear();
    for (const Boundary& b : model.boundaries) {
        std::vector<Point> points;
        for (auto p = b.line.Points().rbegin(); p != b.line.Points().rend(); ++p) {
            points.push_back({-p->x, p->y});
        }
        mirrored.boundaries.push_back({b.set, Polyline(points)});
    }
    if (model.water) {
        std::vector<Point> points;
        for (auto p = model.water->Points().rbegin(); p != model.water->Points().rend(); ++p) {
            points.push_back({-p->x, p->y});
        }
        mirrored.water = Polyline(points);
    }
    return mirrored;
}

TEST(SlopecalcSearch, SlopeFacingTheOtherWayHasTheSameCriticalFactor) {
    for (const auto& [name, model] : SearchedExamples()) {
        const Evaluation original = SearchCriticalCircle(model).back().best;
        const Evaluation mirrored = SearchCriticalCircle(Mirrored(model)).back().best;
        EXPECT_NEAR(mirrored.factor, original.factor, 2e-4 * original.factor) << name;
        EXPECT_NE(mirrored.bishop.movesLeft, original.bishop.movesLeft) << name;
    }
}

TEST(SlopecalcSearch, BedrockAboveEveryCircleIsReported) {
    Model model = testing::LoadExample("homogeneous.plx");
    model.bedrock = 40;
    EXPECT_THROW(SearchCriticalCircle(model), InputError);
}

} // namespace
} // namespace slopecalc
