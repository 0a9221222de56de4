#include "slopecalc/model_reader.h"
#include "slopecalc/number_text.h"
#include "slopecalc/search.h"

#include <algorithm>
#include <chrono>
#include <iostream>
#include <string>
#include <vector>

namespace {

using slopecalc::Model;

// Three soils, the middle one pinching out on the face, with a phreatic line: the costliest
// slice columns a search meets in practice.
constexpr const char* ThreeLayers = "material 1 unit_weight 19 cohesion 5 phi 32\n"
                                    "material 2 unit_weight 18 cohesion 20 phi 18\n"
                                    "material 3 unit_weight 21 cohesion 40 phi 28\n"
                                    "boundary 1 0 40 40 40 64 28 75 22 120 22\n"
                                    "boundary 2 0 33 50 33 64 28 75 22 120 22\n"
                                    "boundary 3 0 26 70 24.5 75 22 120 22\n"
                                    "bedrock 8\n"
                                    "water 0 36 45 32 75 21 120 21\n";

// An embankment of two fills with their own pore-pressure ratios on a clay whose strength
// rises with depth, searched within limits.
constexpr const char* Embankment =
    "material 1 unit_weight 20 cohesion 5 phi 32 ru 0.1\n"
    "material 2 unit_weight 19 cohesion 8 phi 28 ru 0.25\n"
    "material 3 unit_weight 16 cohesion 40 phi 0 cohesion_rate 2 datum 0\n"
    "boundary 1 0 0 30 0 54 12 80 12\n"
    "boundary 2 0 0 30 0 42 6 80 6\n"
    "boundary 3 0 0 80 0\n"
    "bedrock -12\n"
    "search entry 54 80 exit 0 30\n";

struct Timing {
    double milliseconds;
    long circles;
    double factor;
};

// The best of several repetitions, so that a busy machine does not inflate the figure.
Timing TimeSearch(Model model, int repetitions) {
    model.circle.reset();
    Timing best{1e300, 0, 0};
    for (int i = 0; i < repetitions; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const std::vector<slopecalc::StageResult> stages = slopecalc::SearchCriticalCircle(model);
        const std::chrono::duration<double, std::milli> elapsed =
            std::chrono::steady_clock::now() - start;
        long circles = 0;
        for (const auto& stage : stages) {
            circles += stage.circles;
        }
        best = {std::min(best.milliseconds, elapsed.count()), circles, stages.back().best.factor};
    }
    return best;
}

} // namespace

int main() {
    const std::string examples = SLOPECALC_EXAMPLES;
    const std::vector<std::pair<std::string, Model>> models{
        {"homogeneous", slopecalc::ReadModelFile(examples + "/homogeneous.plx")},
        {"imperial (searched)", slopecalc::ReadModelFile(examples + "/imperial.plx")},
        {"layered", slopecalc::ReadModelFile(examples + "/layered.plx")},
        {"three layers", slopecalc::ParseModel(ThreeLayers)},
        {"cut in clays",
         slopecalc::ReadModelFile(std::string(SLOPECALC_TEST_MODELS) + "/cut_in_clays.plx")},
        {"embankment (limits)", slopecalc::ParseModel(Embankment)},
    };
    constexpr double TargetMilliseconds = 50;
    bool withinTarget = true;
    std::cout << "full critical-circle search, best of 20 (target <= 50 ms)\n";
    for (const auto& [name, model] : models) {
        const Timing t = TimeSearch(model, 20);
        withinTarget = withinTarget && t.milliseconds <= TargetMilliseconds;
        std::cout << "  " << name << ": " << slopecalc::FixedText(t.milliseconds, 2) << " ms, "
                  << std::to_string(t.circles) << " circles, "
                  << slopecalc::FixedText(1000 * t.milliseconds / static_cast<double>(t.circles), 3)
                  << " us per circle, F = " << slopecalc::FixedText(t.factor, 4) << "\n";
    }
    std::cout << (withinTarget ? "all within the target\n" : "ABOVE THE TARGET\n");
    return 0;
}
