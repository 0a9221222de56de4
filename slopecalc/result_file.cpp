#include "slopecalc/result_file.h"

#include "project/errors.h"
#include "slopecalc/number_text.h"

#include <cmath>

namespace slopecalc {
namespace {

constexpr const char* LineEnd = "\r\n";

std::string Record(const Model& model, const StageResult& stage, std::size_t index,
                   std::size_t count) {
    const Evaluation& e = stage.best;
    const Circle& c = e.surface.circle;
    const std::string factor = ExactText(e.factor);
    const std::string slices = std::to_string(e.slices);
    const std::string number = std::to_string(index + 1);
    std::string text;
    const auto line = [&text](const std::string& content) { text += content + LineEnd; };
    line("slopecalc " + model.title + ": stage " + number + " of " + std::to_string(count) + ", " +
         stage.name);
    line(number + " " + std::to_string(stage.circles) + " " + std::to_string(e.bishop.iterations) +
         " " + factor);
    line("model: " + model.title);
    line("method: Bishop simplified, circular slip surfaces");
    line("stage: " + stage.name);
    line("circles evaluated in this stage: " + std::to_string(stage.circles));
    line("safety factor: " + factor);
    line("centre: " + ExactText(c.xc) + " " + ExactText(c.yc));
    line("radius: " + ExactText(c.radius));
    line("entry x: " + ExactText(EntryX(e)) + ", exit x: " + ExactText(ExitX(e)));
    line("slices: " + slices + ", Bishop iterations: " + std::to_string(e.bishop.iterations));
    line(std::string("sliding towards ") + (e.bishop.movesLeft ? "smaller" : "larger") + " x");
    line(ExactText(c.xc) + " " + ExactText(c.yc) + " " + ExactText(c.radius) + " " +
         ExactText(EntryX(e)) + " " + ExactText(ExitX(e)) + " " + slices);
    return text;
}

} // namespace

double EntryX(const Evaluation& e) {
    return e.bishop.movesLeft ? e.surface.xRight : e.surface.xLeft;
}

double ExitX(const Evaluation& e) {
    return e.bishop.movesLeft ? e.surface.xLeft : e.surface.xRight;
}

std::string FormatResultRecords(const Model& model, const std::vector<StageResult>& stages) {
    std::string text;
    for (std::size_t i = 0; i < stages.size(); ++i) {
        if (!std::isfinite(stages[i].best.factor)) {
            throw zelmora::Error("the safety factor of stage " + std::to_string(i + 1) +
                                 " is not finite");
        }
        text += Record(model, stages[i], i, stages.size());
    }
    return text;
}

} // namespace slopecalc
