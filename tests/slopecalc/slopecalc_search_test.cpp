#include "slopecalc/circle_evaluator.h"
#include "slopecalc/input_error.h"
#include "slopecalc/model_reader.h"
#include "slopecalc/result_file.h"
#include "slopecalc/search.h"
#include "slopecalc_support.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <limits>
#include <optional>
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
// parametrisation by entry point, exit point and arc angle; with search limits, over the
// circles whose entry and exit lie within them.
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
                const Evaluation e = evaluator.Evaluate({xc, yc, yc - lowest});
                const std::optional<SearchLimits>& limits = model.searchLimits;
                if (!limits ||
                    (limits->entry.Holds(EntryX(e), 0) && limits->exit.Holds(ExitX(e), 0))) {
                    least = std::min(least, e.factor);
                }
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

Model WithLimits(const std::string& example, const SearchLimits& limits) {
    Model model = testing::LoadExample(example);
    model.circle.reset();
    model.searchLimits = limits;
    return model;
}

// The homogeneous slope faces towards smaller x, the layered one towards larger x.
TEST(SlopecalcSearch, KeepsEntryAndExitWithinTheLimits) {
    struct Case {
        const char* example;
        SearchLimits limits;
        bool scan; // compare with the brute-force scan within the same limits
    };
    const Case cases[] = {
        {"homogeneous.plx", {{55, 70}, {10, 28}}, true},  // in front of the toe
        {"layered.plx", {{0, 10}, {44, 60}}, true},       // back from the crest
        {"homogeneous.plx", {{50, 90}, {30, 30}}, false}, // through the toe
        {"layered.plx", {{30, 30}, {0, 70}}, false},      // through the crest
    };
    for (const Case& c : cases) {
        const Model model = WithLimits(c.example, c.limits);
        const Evaluation best = SearchCriticalCircle(model).back().best;
        const std::string name = std::string(c.example) + " entry " +
                                 std::to_string(c.limits.entry.from) + " exit " +
                                 std::to_string(c.limits.exit.from);
        ASSERT_TRUE(best.admissible) << name;
        EXPECT_TRUE(c.limits.entry.Holds(EntryX(best), 1e-6)) << name << ": " << EntryX(best);
        EXPECT_TRUE(c.limits.exit.Holds(ExitX(best), 1e-6)) << name << ": " << ExitX(best);
        Model free = model;
        free.searchLimits.reset();
        EXPECT_GT(best.factor, SearchCriticalCircle(free).back().best.factor) << name;
        if (c.scan) {
            EXPECT_LE(best.factor, BruteForceMinimum(model) * (1 + 2e-4)) << name;
        }
    }
}

TEST(SlopecalcSearch, BedrockAboveEveryCircleIsReported) {
    Model model = testing::LoadExample("homogeneous.plx");
    model.bedrock = 40;
    EXPECT_THROW(SearchCriticalCircle(model), InputError);
}

} // namespace
} // namespace slopecalc
