#include "report/tables/sampling_summary.h"

#include "project/number_forms.h"
#include "project/value_text.h"
#include "report/tables/method_result_line.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace zelmora {

namespace {

std::string Range(const std::array<double, 2>& range, ProbabilityForm probability) {
    return probability(range[0]) + " to " + probability(range[1]);
}

std::string Count(int count) {
    return FormatInteger(count, 0);
}

std::string SurrogateStop(const SurrogateFacts& facts) {
    if (facts.stoppedBy == "target-cov") {
        return "the error estimate, at the target coefficient of variation";
    }
    return facts.stoppedBy == "max-runs" ? "the most runs, not converged"
                                         : "the largest population, not converged";
}

std::string RoundGroup(const std::array<int, 2>& group) {
    return group[0] > 1 ? Count(group[0]) + " × " + Count(group[1]) : Count(group[1]);
}

// The runs of each round, equal neighbours as "4 × 23" (four rounds of 23): at most eight
// groups, the last always among them, so that even hundreds of rounds keep to one line.
std::string RunsPerRound(const std::vector<int>& runs) {
    std::vector<std::array<int, 2>> groups; // rounds, runs in each
    for (const int made : runs) {
        if (groups.empty() || groups.back()[1] != made) {
            groups.push_back({0, made});
        }
        ++groups.back()[0];
    }
    constexpr std::size_t Shown = 8;
    const std::size_t leading = groups.size() > Shown ? Shown - 1 : groups.size() - 1;
    std::string text;
    for (std::size_t k = 0; k < leading; ++k) {
        text += RoundGroup(groups[k]) + ", ";
    }
    return text + (groups.size() > Shown ? "…, " : "") + RoundGroup(groups.back());
}

// The largest |F − mean without it| and the points that mean puts on the other side of F = 1.
void LeaveOneOutLines(const SurrogateFacts& facts, std::vector<SummaryLine>& lines) {
    double largest = 0;
    int otherSide = 0;
    for (const auto& [factor, mean] : facts.leaveOneOut) {
        largest = std::max(largest, std::abs(factor - mean));
        otherSide += (factor < 1) != (mean < 1) ? 1 : 0;
    }
    lines.push_back({"LeaveOneOutError", "Largest leave-one-out |F − mean|:", FixedText(largest)});
    lines.push_back({"LeaveOneOutOtherSide", "Leave-one-out mean across F = 1:",
                     Count(otherSide) + " of " + Count(static_cast<int>(facts.leaveOneOut.size())) +
                         " training points"});
}

// The surrogate's own lines in place of the samples': its population and runs.
void SurrogateLines(const SamplingResult& result, std::vector<SummaryLine>& lines) {
    const SurrogateFacts& facts = *result.surrogate;
    lines.push_back({"Population", "Population classified:", Count(facts.population)});
    lines.push_back({"SurrogateRuns", "Runs of its own:", Count(facts.runs)});
    lines.push_back(
        {"MethodRunsUsed", "Runs of the method it learned from:", Count(facts.methodRunsUsed)});
    lines.push_back({"Rounds", "Rounds:", Count(facts.rounds)});
    lines.push_back({"ErrorEstimate", "Estimated relative error:", FixedText(facts.errorEstimate)});
    lines.push_back({"FailedRuns", "Failed runs:", Count(result.failedRuns)});
    // They count as failed in the upper bound: without this line that bound is unexplained.
    if (result.inadmissible > 0) {
        lines.push_back({"Inadmissible",
                         "Population points not classified (strengths the calculator cannot "
                         "take):",
                         Count(result.inadmissible)});
    }
    lines.push_back({"StoppedBy", "Stopped by:", SurrogateStop(facts)});
    if (!facts.runsPerRound.empty()) {
        lines.push_back({"RunsPerRound", "Runs per round:", RunsPerRound(facts.runsPerRound)});
    }
    if (!facts.leaveOneOut.empty()) {
        LeaveOneOutLines(facts, lines);
    }
}

} // namespace

std::string SamplingHeading(const SamplingResult& result) {
    if (result.kind == SamplingKind::Surrogate) {
        return "Surrogate (active-learning kriging), seed " + std::to_string(result.seed);
    }
    return (result.kind == SamplingKind::Importance ? "Importance sampling at the design point"
                                                    : "Monte Carlo") +
           std::string(", seed ") + std::to_string(result.seed);
}

std::vector<SummaryLine> SamplingSummary(const SamplingResult& result,
                                         const std::optional<MethodResult>& method,
                                         ProbabilityForm probability) {
    std::vector<SummaryLine> lines{
        {"SamplingProbability", "Probability of failure:", probability(result.probability)}};
    if (method && method->method != Method::FirstOrder) {
        lines.push_back({"MethodProbability", "The method's probability of failure:",
                         MethodProbabilityLine(*method, probability)});
    }
    lines.push_back({"Interval", "95 % interval:", Range(result.interval95, probability)});
    if (result.failedRuns + result.inadmissible > 0) {
        lines.push_back(
            {"Bounds", "Failed samples as safe / as failed:", Range(result.bounds, probability)});
    }
    lines.push_back({"SamplingBeta", "β = −Φ⁻¹(p):", FixedText(result.beta)});
    lines.push_back({"Cov", "Coefficient of variation:", FixedText(result.cov)});
    if (result.surrogate) {
        SurrogateLines(result, lines);
        return lines;
    }
    lines.push_back({"Samples", "Samples:", Count(result.samples)});
    lines.push_back({"Failures", "Samples with F < 1:", Count(result.failures)});
    lines.push_back({"FailedRuns", "Failed runs:", Count(result.failedRuns)});
    if (result.inadmissible > 0) {
        lines.push_back({"Inadmissible", "Samples not run (strengths the calculator cannot take):",
                         Count(result.inadmissible)});
    }
    lines.push_back(
        {"StoppedBy", "Stopped by:",
         result.stoppedByTarget ? "the target coefficient of variation" : "the most samples"});
    for (std::size_t k = 0; k < result.errors.size(); ++k) {
        lines.push_back(
            {"Error" + std::to_string(k + 1), k == 0 ? "First errors:" : "", result.errors[k]});
    }
    return lines;
}

} // namespace zelmora
