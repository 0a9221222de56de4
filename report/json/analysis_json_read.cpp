#include "report/json/analysis_json_read.h"

#include "analysis/coupling/run_picture.h"
#include "analysis/methods/exact_normal_tail.h"
#include "analysis/methods/method_result.h"
#include "report/json/sampling_json.h"

#include <nlohmann/json.hpp>
#include <utility>

namespace zelmora {

namespace {

using nlohmann::json;

std::optional<double> Optional(const json& value) {
    return value.is_null() ? std::nullopt : std::optional<double>(value.get<double>());
}

std::optional<double> OptionalKey(const json& object, const char* key) {
    return object.contains(key) ? Optional(object.at(key)) : std::nullopt;
}

RunOutcome Run(const json& run) {
    RunOutcome outcome;
    outcome.runId = run.at("run_id").get<int>();
    outcome.started = run.at("started").get<bool>();
    outcome.exitStatus = run.at("exit_status").get<int>();
    outcome.seconds = run.at("seconds").get<double>();
    outcome.reused = run.value("reused", false);
    outcome.safetyFactor = Optional(run.at("safety_factor"));
    for (const json& v : run.value("written", json::array())) {
        outcome.written.push_back({v.at("id").get<int>(), v.at("value").get<double>()});
    }
    outcome.error = run.value("error", std::string());
    // A run with a safety factor and no error was read whole: so a nonzero exit it had reads
    // back as accepted, as it was shown.
    outcome.resultRewritten = outcome.started && outcome.safetyFactor && outcome.error.empty();
    outcome.picture = run.value("picture", std::string());
    // No larger picture than a run keeps goes into a report.
    if (std::cmp_greater(outcome.picture.size(), MaxPictureBytes)) {
        throw json::other_error::create(501, "a picture larger than 2 MiB", &run);
    }
    return outcome;
}

template <class Value>
Value Named(const json& name, std::optional<Value> (*fromName)(std::string_view)) {
    const std::optional<Value> value = fromName(name.get<std::string>());
    if (!value) {
        throw json::other_error::create(501, "unknown name " + name.dump(), &name);
    }
    return *value;
}

void ReadForm(const json& object, MethodResult& method) {
    method.converged = object.at("converged").get<bool>();
    method.iterations = object.at("iterations").get<int>();
    method.designPointFactor = OptionalKey(object, "design_point_safety_factor");
    for (const json& point : object.at("design_point")) {
        method.designPoint.push_back(
            {point.at("id").get<int>(), point.at("row").get<int>(),
             point.at("parameter").get<std::string>() == "phi", point.at("mean").get<double>(),
             point.at("value").get<double>(), point.at("alpha").get<double>()});
    }
    for (const json& step : object.at("history")) {
        method.history.push_back({step.at("iteration").get<int>(), step.at("beta").get<double>(),
                                  step.at("g").get<double>()});
    }
}

int Strength(const json& side) {
    return StrengthId(side.at("row").get<int>(), side.at("parameter").get<std::string>() == "phi");
}

CorrelationInUse Correlation(const json& pair) {
    return {Strength(pair.at("a")), Strength(pair.at("b")), pair.at("rho").get<double>(),
            pair.at("rho_normal").get<double>()};
}

MethodResult ReadMethod(const json& object) {
    MethodResult method;
    method.method = Named(object.at("name"), MethodFromName);
    method.strengths = Named(object.at("strengths"), DistributionFromName);
    method.runs = object.at("runs").get<int>();
    method.beta = Optional(object.at("beta"));
    method.probability = Optional(object.at("probability_of_failure"));
    if (method.method == Method::Form) {
        ReadForm(object, method);
    } else {
        method.betaLognormal = Optional(object.at("beta_lognormal"));
        if (method.betaLognormal) {
            method.lognormalProbability = NormalTail(*method.betaLognormal);
        }
    }
    for (const json& v : object.at("variables")) {
        method.variables.push_back({v.at("id").get<int>(), OptionalKey(v, "sensitivity"),
                                    OptionalKey(v, "curvature"), Optional(v.at("share"))});
    }
    return method;
}

} // namespace

AnalysisRecord RecordFromAnalysisJson(const std::string& text) {
    const json document = json::parse(text);
    AnalysisRecord record;
    record.parallelRuns = document.at("project").at("parallel_runs").get<int>();
    for (const json& run : document.at("runs")) {
        record.outcomes.push_back(Run(run));
    }
    if (document.contains("correlations")) {
        for (const json& pair : document.at("correlations")) {
            record.correlations.push_back(Correlation(pair));
        }
    }
    if (document.contains("method")) {
        record.method = ReadMethod(document.at("method"));
    }
    if (document.contains("sampling")) {
        record.sampling = SamplingFromJson(document.at("sampling"));
    }
    if (document.contains("error")) {
        record.error = document.at("error").get<std::string>();
    }
    if (document.contains("error_detail")) {
        const json& detail = document.at("error_detail");
        const json& copy = detail.at("copy_path");
        record.errorDetail =
            RunErrorDetail{detail.at("run").get<std::string>(),
                           detail.at("path").get<std::string>(),
                           copy.is_null() ? std::string() : copy.get<std::string>(),
                           detail.at("calculator_output").get<std::vector<std::string>>(),
                           detail.value("cause", std::string()),
                           detail.value("failed_run", std::string())};
    }
    return record;
}

} // namespace zelmora
