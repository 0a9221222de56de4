#include "report/json/analysis_json.h"

#include "analysis/methods/correlated_beta.h"
#include "analysis/methods/derived_results.h"
#include "analysis/methods/random_variables.h"
#include "analysis/runs/run_errors.h"
#include "analysis/runs/run_plan.h"
#include "report/finished_runs.h"
#include "report/json/sampling_json.h"
#include "report/methods_that_ran.h"

#include <nlohmann/json.hpp>

namespace zelmora {

namespace {

using nlohmann::json;

json Optional(const std::optional<double>& value) {
    return value ? json(*value) : json(nullptr);
}

json Project(const std::string& projectFile, const ProjectState& project,
             const AnalysisRecord& record) {
    return {{"file", projectFile},
            {"batch_path", project.BatchPath},
            {"project_path", project.ProjectPath},
            {"project_name", project.ProjectName},
            {"step_size", project.StepSize},
            {"parallel_runs", record.parallelRuns}};
}

json Variables(const DerivedResults& derived) {
    json variables = json::array();
    for (const VariableResult& v : derived.variables) {
        variables.push_back(
            {{"position", v.position},
             {"id", v.variableId},
             {"row", v.row},
             {"set", v.setNumber},
             {"parameter", v.parameter == Parameter::FrictionAngle ? "phi" : "cohesion"},
             {"mean", v.mean},
             {"std_dev", v.stdDev},
             {"reduced_value", v.reducedValue},
             {"safety_factor", Optional(v.safetyFactor)},
             {"sensitivity", Optional(v.sensitivity)},
             {"share", Optional(v.share)}});
    }
    return variables;
}

json Runs(const AnalysisRecord& record) {
    json runs = json::array();
    for (const RunOutcome& run : record.outcomes) {
        runs.push_back(
            {{"run_id", run.runId},
             {"started", run.started},
             {"exit_status", run.exitStatus},
             {"nonzero_exit_accepted", NonZeroExitAccepted(run)},
             {"seconds", run.seconds},
             {"reused", run.reused},
             {"safety_factor", run.error.empty() ? Optional(run.safetyFactor) : json(nullptr)}});
        runs.back()["written"] = json::array();
        for (const ValueWritten& v : run.written) {
            runs.back()["written"].push_back({{"id", v.variableId}, {"value", v.value}});
        }
        if (!run.picture.empty()) {
            runs.back()["picture"] = run.picture;
        }
        if (!run.error.empty()) {
            runs.back()["error"] = run.error;
        }
    }
    return runs;
}

// Beta and its probability exist once every variable's run gave a factor and their spread is
// not 0; before that the project still holds 0 or an earlier analysis's values.
json Results(const ProjectState& project, const DerivedResults& derived,
             const FinishedRuns& finished, const AnalysisRecord& record) {
    const bool betaComputed = derived.sigmaF.has_value();
    const StoredResults stored = StoredResultsOf(project);
    const auto factor = [&finished, &stored](int key) {
        return finished.HasFactor(key) ? Optional(StoredSafetyFactor(stored, key)) : json(nullptr);
    };
    json results = {
        {"safety_factor_standard", factor(StandardRun)},
        {"safety_factor_mean", factor(MeanValueRun)},
        {"safety_factor_all_reduced", factor(AllReducedRun)},
        {"beta", betaComputed ? json(project.Beta) : json(nullptr)},
        {"probability_of_failure", betaComputed ? json(project.FailureProbability) : json(nullptr)},
        {"linearity", Optional(derived.linearity)},
        {"sigma_f", Optional(derived.sigmaF)},
        {"cov_f", Optional(derived.covF)},
        {"probability_of_failure_exact", Optional(derived.exactProbability)},
        {"beta_lognormal", Optional(derived.betaLognormal)},
        {"probability_of_failure_lognormal", Optional(derived.lognormalProbability)}};
    if (!record.correlations.empty()) {
        const std::optional<CorrelatedReliability> correlated =
            FirstOrderCorrelated(derived, record.correlations);
        results["beta_correlated"] = correlated ? json(correlated->beta) : json(nullptr);
        results["probability_of_failure_correlated"] =
            correlated ? json(correlated->probability) : json(nullptr);
    }
    return results;
}

json Strength(int id) {
    return {{"row", VariableRow(id)}, {"parameter", id <= SoilRowCount ? "phi" : "cohesion"}};
}

json CorrelationList(const std::vector<CorrelationInUse>& pairs) {
    json list = json::array();
    for (const CorrelationInUse& pair : pairs) {
        list.push_back({{"a", Strength(pair.a)},
                        {"b", Strength(pair.b)},
                        {"rho", pair.rho},
                        {"rho_normal", pair.rhoNormal}});
    }
    return list;
}

json DesignPoint(const MethodResult& method) {
    json points = json::array();
    for (const DesignPointValue& v : method.designPoint) {
        points.push_back({{"id", v.variableId},
                          {"parameter", v.friction ? "phi" : "cohesion"},
                          {"row", v.row},
                          {"mean", v.mean},
                          {"value", v.value},
                          {"alpha", v.alpha}});
    }
    return points;
}

// Keys that do not apply to the method are left out.
json MethodObject(const MethodResult& method) {
    json object = {{"name", MethodName(method.method)},
                   {"strengths", DistributionName(method.strengths)},
                   {"runs", method.runs},
                   {"beta", Optional(method.beta)},
                   {"probability_of_failure", Optional(method.probability)}};
    if (method.method == Method::Form) {
        object["converged"] = method.converged;
        object["iterations"] = method.iterations;
        object["design_point"] = DesignPoint(method);
        object["design_point_safety_factor"] = Optional(method.designPointFactor);
        object["history"] = json::array();
        for (const FormIteration& step : method.history) {
            object["history"].push_back(
                {{"iteration", step.iteration}, {"beta", step.beta}, {"g", step.g}});
        }
    } else {
        object["beta_lognormal"] = Optional(method.betaLognormal);
    }
    object["variables"] = json::array();
    for (const MethodVariable& v : method.variables) {
        json variable = {{"id", v.variableId}, {"share", Optional(v.share)}};
        if (method.method == Method::Taylor) {
            variable["sensitivity"] = Optional(v.sensitivity);
            variable["curvature"] = Optional(v.curvature);
        }
        object["variables"].push_back(variable);
    }
    return object;
}

json ErrorDetail(const RunErrorDetail& detail) {
    return {{"run", detail.run},
            {"cause", detail.cause},
            {"failed_run", detail.failedRun},
            {"path", detail.path},
            {"copy_path", detail.copyPath.empty() ? json(nullptr) : json(detail.copyPath)},
            {"calculator_output", detail.calculatorOutput}};
}

// The conservative number the report's summary relies on; none when no method gave a β.
json ReliedOnObject(const ProjectState& project, const AnalysisRecord& record) {
    const MethodThatRan firstOrder = FirstOrderThatRan(project, record);
    const std::optional<ReliedOn> relied =
        ReliedOnIn(firstOrder.beta, firstOrder.probability, record);
    if (!relied) {
        return nullptr;
    }
    return {{"method", relied->method},
            {"probability_of_failure", relied->probability},
            {"beta", relied->beta},
            {"upper_bound", relied->upperBound},
            {"why", relied->why}};
}

} // namespace

std::string AnalysisJson(const std::string& projectFile, const ProjectState& project,
                         const AnalysisRecord& record) {
    const FinishedRuns finished(record, project);
    const DerivedResults derived = finished.Results();
    json document = {{"zelmora_version", ZELMORA_VERSION},
                     {"project", Project(projectFile, project, record)},
                     {"variables", Variables(derived)},
                     {"runs", Runs(record)},
                     {"results", Results(project, derived, finished, record)}};
    if (!record.correlations.empty()) {
        document["correlations"] = CorrelationList(record.correlations);
    }
    if (record.method) {
        document["method"] = MethodObject(*record.method);
    }
    if (record.sampling) {
        document["sampling"] = SamplingJson(*record.sampling);
    }
    document["relied_on"] = ReliedOnObject(project, record);
    if (!record.error.empty()) {
        document["error"] = record.error;
    }
    if (record.errorDetail) {
        document["error_detail"] = ErrorDetail(*record.errorDetail);
    }
    return document.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

} // namespace zelmora
