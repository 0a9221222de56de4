#include "analysis/analysis_json.h"

#include "analysis/derived_results.h"
#include "analysis/run_plan.h"
#include "project/project_state.h"

#include <nlohmann/json.hpp>

namespace zelmora {

namespace {

using nlohmann::json;

json Optional(const std::optional<double>& value) {
    return value ? json(*value) : json(nullptr);
}

json Project(const std::string& projectFile, const AnalysisRecord& record) {
    return {{"file", projectFile},
            {"batch_path", State.BatchPath},
            {"project_path", State.ProjectPath},
            {"project_name", State.ProjectName},
            {"step_size", State.StepSize},
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
        runs.push_back({{"run_id", run.runId},
                        {"started", run.started},
                        {"exit_status", run.exitStatus},
                        {"seconds", run.seconds},
                        {"safety_factor", Optional(run.safetyFactor)}});
    }
    return runs;
}

// Beta and its probability exist once every variable's run gave a factor and their spread is
// not 0; before that the state still holds 0 or an earlier analysis's values.
json Results(const DerivedResults& derived) {
    const bool betaComputed = derived.sigmaF.has_value();
    return {{"safety_factor_standard", Optional(StoredSafetyFactor(StandardRun))},
            {"safety_factor_mean", Optional(StoredSafetyFactor(MeanValueRun))},
            {"safety_factor_all_reduced", Optional(StoredSafetyFactor(AllReducedRun))},
            {"beta", betaComputed ? json(State.Beta) : json(nullptr)},
            {"probability_of_failure",
             betaComputed ? json(State.FailureProbability) : json(nullptr)},
            {"linearity", Optional(derived.linearity)},
            {"sigma_f", Optional(derived.sigmaF)},
            {"cov_f", Optional(derived.covF)},
            {"probability_of_failure_exact", Optional(derived.exactProbability)},
            {"beta_lognormal", Optional(derived.betaLognormal)},
            {"probability_of_failure_lognormal", Optional(derived.lognormalProbability)}};
}

} // namespace

std::string AnalysisJson(const std::string& projectFile, const AnalysisRecord& record) {
    const DerivedResults derived = DeriveResults();
    json document = {{"zelmora_version", ZELMORA_VERSION},
                     {"project", Project(projectFile, record)},
                     {"variables", Variables(derived)},
                     {"runs", Runs(record)},
                     {"results", Results(derived)}};
    if (!record.error.empty()) {
        document["error"] = record.error;
    }
    return document.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

} // namespace zelmora
