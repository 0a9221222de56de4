#include "slopecalc/summary.h"

#include "slopecalc/bishop.h"
#include "slopecalc/circle_evaluator.h"
#include "slopecalc/number_text.h"
#include "slopecalc/result_file.h"

#include <cmath>
#include <numbers>

namespace slopecalc {
namespace {

std::string Modifications(const std::string& path, const std::vector<Modification>& list) {
    if (list.empty()) {
        return "modifications: none\n";
    }
    std::string text = "modifications: " + std::to_string(list.size()) + " from " + path + "\n";
    for (const Modification& m : list) {
        text += "  set " + std::to_string(m.set) + ": ";
        if (m.parameter == SinePhiParameter) {
            text += "phi " + FixedText(std::asin(m.value) * 180 / std::numbers::pi, 4) +
                    " degrees (sin phi " + FixedText(m.value, 4) + ")\n";
        } else {
            text += "cohesion " + FixedText(m.value, 4) + "\n";
        }
    }
    return text;
}

std::string Stages(const std::vector<StageResult>& stages) {
    long total = 0;
    std::string lines;
    for (std::size_t i = 0; i < stages.size(); ++i) {
        total += stages[i].circles;
        lines += "  stage " + std::to_string(i + 1) + " " + stages[i].name +
                 ": F = " + FixedText(stages[i].best.factor, 6) + " (" +
                 std::to_string(stages[i].circles) +
                 (stages[i].circles == 1 ? " circle)\n" : " circles)\n");
    }
    return "stages: " + std::to_string(stages.size()) +
           ", circles evaluated: " + std::to_string(total) + "\n" + lines;
}

std::string Limits(const Model& model) {
    if (!model.searchLimits || model.circle) {
        return {};
    }
    const auto range = [](const Range& r) {
        return FixedText(r.from, 3) + " to " + FixedText(r.to, 3);
    };
    return "search limits: entry x " + range(model.searchLimits->entry) + ", exit x " +
           range(model.searchLimits->exit) + "\n";
}

// More slices than asked for when the crossings make more pieces than that.
std::string Slices(const Model& model, const Evaluation& best) {
    std::string text = "slices: " + std::to_string(best.slices);
    if (best.slices != model.slices) {
        text += " (" + std::to_string(model.slices) + " asked, one at least between two breaks)";
    }
    return text;
}

} // namespace

std::string FormatSummary(const std::string& modelPath, const DataPaths& paths, const Model& model,
                          const std::vector<Modification>& modifications,
                          const std::vector<StageResult>& stages) {
    const Evaluation& best = stages.back().best;
    const Circle& c = best.surface.circle;
    CircleEvaluator evaluator(model);
    const int onFloor = SlicesOnFloor(evaluator.SlicesOf(best.surface), best.bishop);
    return "slopecalc: " + modelPath + "\n" + "title: " + model.title + "\n" +
           Modifications(paths.modification, modifications) + Limits(model) + Stages(stages) +
           "critical circle: centre (" + FixedText(c.xc, 3) + ", " + FixedText(c.yc, 3) +
           "), radius " + FixedText(c.radius, 3) + ", entry x " + FixedText(EntryX(best), 3) +
           ", exit x " + FixedText(ExitX(best), 3) + "\n" + Slices(model, best) +
           ", on the m_alpha floor: " + std::to_string(onFloor) + "\n" +
           "safety factor: " + FixedText(best.factor, 4) + "\n" + "result: " + paths.result + "\n" +
           "picture: " + paths.picture + "\n";
}

} // namespace slopecalc
