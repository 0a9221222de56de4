#include "study/kept_analysis_check.h"

#include "analysis/methods/exact_normal_tail.h"
#include "analysis/methods/random_variables.h"
#include "analysis/methods/sampling_estimate.h"
#include "analysis/methods/strength_space.h"
#include "analysis/runs/run_plan.h"
#include "project/number_forms.h"
#include "report/json/analysis_json_read.h"
#include "report/methods_that_ran.h"
#include "report/relied_on.h"

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>
#include <numeric>

namespace zelmora {

namespace {

using nlohmann::json;

// As the project file writes its numbers.
constexpr int FieldWidth = 10;
constexpr int Decimals = 6;
// FORM's β is shown to 4 decimals; its design point is rebuilt from the soil table as the
// project file holds it, 6 decimals, so a β that differs by less than this is the same β.
constexpr double DesignPointTolerance = 1e-4;
// Numbers computed again the same way, at most a few roundings apart.
constexpr double SameComputation = 1e-9;

bool SameLine(const json& kept, double line) {
    return kept.is_null() || FormatFixed(kept.get<double>(), FieldWidth, Decimals) ==
                                 FormatFixed(line, FieldWidth, Decimals);
}

bool Close(double a, double b, double relative) {
    return std::abs(a - b) <= relative * std::max({1.0, std::abs(a), std::abs(b)});
}

bool CloseRelative(double a, double b) {
    return std::abs(a - b) <= SameComputation * std::max(std::abs(a), std::abs(b));
}

bool ResultsMatchTheLines(const json& results, const ProjectState& project) {
    return SameLine(results.at("safety_factor_standard"),
                    Entry(project.SafetyFactors, StandardRun)) &&
           SameLine(results.at("safety_factor_mean"), Entry(project.SafetyFactors, MeanValueRun)) &&
           SameLine(results.at("safety_factor_all_reduced"),
                    Entry(project.SafetyFactors, AllReducedRun)) &&
           SameLine(results.at("beta"), project.Beta) &&
           SameLine(results.at("probability_of_failure"), project.FailureProbability) &&
           SameLine(results.at("linearity"), project.Linearity);
}

// Run i (1..N) lowers the variable at position i, whose factor the file keeps under its id.
bool FactorsMatchTheLines(const json& document, const ProjectState& project) {
    std::vector<int> idAtPosition;
    for (const json& variable : document.at("variables")) {
        const int id = variable.at("id").get<int>();
        if (id < 1 || id > 2 * SoilRowCount ||
            !SameLine(variable.at("safety_factor"), Entry(project.SafetyFactors, id))) {
            return false;
        }
        idAtPosition.push_back(id);
    }
    for (const json& run : document.at("runs")) {
        const int runId = run.at("run_id").get<int>();
        if (runId >= AllReducedRun && runId <= static_cast<int>(idAtPosition.size())) {
            const int key = runId <= MeanValueRun ? runId : idAtPosition[runId - 1];
            if (!SameLine(run.at("safety_factor"), Entry(project.SafetyFactors, key))) {
                return false;
            }
        }
    }
    return true;
}

bool FormAgrees(const MethodResult& form, const std::vector<CorrelationInUse>& correlations,
                const ProjectState& project) {
    if (!form.beta || !form.probability || form.designPoint.empty()) {
        return !form.beta && !form.probability;
    }
    std::vector<RandomVariable> variables;
    std::vector<double> design;
    for (const DesignPointValue& point : form.designPoint) {
        variables.push_back(VariableOf(project.SoilTable, point.variableId));
        design.push_back(point.value);
    }
    const StrengthSpace space(variables, form.strengths,
                              NormalSpaceFactor(variables, correlations));
    const std::vector<double> u = space.ToStandard(design);
    const double length = std::sqrt(std::inner_product(u.begin(), u.end(), u.begin(), 0.0));
    return Close(length, std::abs(*form.beta), DesignPointTolerance) &&
           CloseRelative(*form.probability, NormalTail(*form.beta));
}

// The surrogate's kept predictions, where the study has them: whole points in bins, as many as
// the admissible population, as many below 1 as it classified failing.
bool PredictedFactorsAgree(const SamplingResult& sampling) {
    const auto& factors = sampling.surrogate->predictedFactors;
    if (factors.empty()) {
        return true;
    }
    double points = 0;
    double failing = 0;
    for (const auto& [factor, count] : factors) {
        if (!(count > 0) || count != std::round(count)) {
            return false;
        }
        points += count;
        failing += factor < 1 ? count : 0;
    }
    return points == sampling.surrogate->population - sampling.inadmissible &&
           failing == std::round(sampling.probability * sampling.surrogate->population);
}

// Whole population points classified as failing, within the bounds its uncertain points give,
// and β from that probability: what a surrogate's figures let one derive again.
bool SurrogateAgrees(const SamplingResult& sampling) {
    const SurrogateFacts& facts = *sampling.surrogate;
    const double population = facts.population;
    const double failing = sampling.probability * population;
    return facts.population > 0 && facts.population == sampling.samples && facts.runs >= 0 &&
           facts.rounds >= 0 && std::abs(failing - std::round(failing)) < 1e-6 &&
           sampling.bounds[0] >= 0 && sampling.bounds[0] <= sampling.probability &&
           sampling.probability <= sampling.bounds[1] && sampling.bounds[1] <= 1 &&
           sampling.beta.has_value() == (sampling.probability > 0) &&
           (!sampling.beta || CloseRelative(NormalTail(*sampling.beta), sampling.probability)) &&
           (!facts.converged || facts.stoppedBy == "target-cov") && PredictedFactorsAgree(sampling);
}

// Monte Carlo's kept factors, where the study has them: one of weight 1 per sample run with a
// factor, as many below 1 as it counted failures.
bool SampledFactorsAgree(const SamplingResult& sampling) {
    const auto& factors = sampling.sampledFactors;
    if (factors.empty()) {
        return true;
    }
    const auto failing = std::count_if(factors.begin(), factors.end(),
                                       [](const std::array<double, 2>& f) { return f[0] < 1; });
    const bool weighed = std::all_of(factors.begin(), factors.end(),
                                     [](const std::array<double, 2>& f) { return f[1] == 1; });
    return weighed && failing == sampling.failures &&
           static_cast<int>(factors.size()) ==
               sampling.samples - sampling.failedRuns - sampling.inadmissible;
}

// The estimate from its counts as the check makes it: Monte Carlo's from the counts alone,
// importance sampling's only where its weights do not enter.
bool SamplingAgrees(const SamplingResult& sampling) {
    if (sampling.surrogate) {
        return SurrogateAgrees(sampling);
    }
    const int unknown = sampling.failedRuns + sampling.inadmissible;
    if (sampling.failures < 0 || unknown < 0 || sampling.failures + unknown > sampling.samples ||
        sampling.bounds[0] != sampling.probability) {
        return false;
    }
    if ((sampling.failures == 0) != (sampling.probability == 0) ||
        sampling.beta.has_value() != (sampling.probability > 0) ||
        (sampling.beta && !CloseRelative(NormalTail(*sampling.beta), sampling.probability))) {
        return false;
    }
    if (!sampling.history.empty() &&
        (sampling.history.back().samples != sampling.samples ||
         sampling.history.back().probability != sampling.probability)) {
        return false;
    }
    if (sampling.kind != SamplingKind::MonteCarlo) {
        return sampling.bounds[1] >= sampling.probability;
    }
    if (!SampledFactorsAgree(sampling)) {
        return false;
    }
    SamplingEstimate estimate(false);
    for (int k = 0; k < sampling.samples; ++k) {
        estimate.Add(1, k < sampling.failures,
                     k >= sampling.failures && k < sampling.failures + unknown);
    }
    const std::optional<double> cov = estimate.Cov();
    return CloseRelative(estimate.Probability(), sampling.probability) &&
           CloseRelative(estimate.UpperBound(), sampling.bounds[1]) &&
           cov.has_value() == sampling.cov.has_value() &&
           (!cov || CloseRelative(*cov, *sampling.cov)) &&
           CloseRelative(estimate.Interval95()[0], sampling.interval95[0]) &&
           CloseRelative(estimate.Interval95()[1], sampling.interval95[1]);
}

// The choice of what is relied on, made again by the one rule from the record. First order's β
// is the project file's line, 6 decimals, where the kept one has every digit.
bool ReliedOnAgrees(const json& kept, const ProjectState& project, const AnalysisRecord& record) {
    const MethodThatRan firstOrder = FirstOrderThatRan(project, record);
    const std::optional<ReliedOn> relied =
        ReliedOnIn(firstOrder.beta, firstOrder.probability, record);
    if (kept.is_null() || !relied) {
        return kept.is_null() && !relied;
    }
    const double probability = kept.at("probability_of_failure").get<double>();
    return kept.at("method").get<std::string>() == relied->method &&
           kept.at("upper_bound").get<bool>() == relied->upperBound &&
           kept.at("why").get<std::string>() == relied->why &&
           Close(kept.at("beta").get<double>(), relied->beta, 1e-6) &&
           std::abs(probability - relied->probability) <=
               1e-6 * std::max(std::abs(probability), std::abs(relied->probability));
}

} // namespace

bool KeptAnalysisAgrees(const std::string& analysisJson, const ProjectState& project) {
    try {
        const json document = json::parse(analysisJson);
        const AnalysisRecord record = RecordFromAnalysisJson(analysisJson);
        if (!ResultsMatchTheLines(document.at("results"), project) ||
            !FactorsMatchTheLines(document, project)) {
            return false;
        }
        if (record.method && record.method->method == Method::Form &&
            !FormAgrees(*record.method, record.correlations, project)) {
            return false;
        }
        if (record.sampling && !SamplingAgrees(*record.sampling)) {
            return false;
        }
        // A study kept before the rule was written has no choice to compare.
        return !document.contains("relied_on") ||
               ReliedOnAgrees(document.at("relied_on"), project, record);
    } catch (const std::exception&) {
        // What cannot even be derived again does not agree.
        return false;
    }
}

} // namespace zelmora
