#include "report/json/sampling_json.h"

namespace zelmora {

namespace {

using nlohmann::json;

json Optional(const std::optional<double>& value) {
    return value ? json(*value) : json(nullptr);
}

std::optional<double> Optional(const json& value) {
    return value.is_null() ? std::nullopt : std::optional<double>(value.get<double>());
}

json Pair(const std::array<double, 2>& pair) {
    return json::array({pair[0], pair[1]});
}

std::array<double, 2> PairFrom(const json& pair) {
    if (!pair.is_array() || pair.size() != 2) {
        throw json::type_error::create(302, "a pair of numbers is expected", &pair);
    }
    return {pair.at(0).get<double>(), pair.at(1).get<double>()};
}

json History(const std::vector<SamplingPoint>& history) {
    json points = json::array();
    for (const SamplingPoint& point : history) {
        points.push_back({{"samples", point.samples},
                          {"probability", point.probability},
                          {"interval_95", Pair(point.interval95)}});
    }
    return points;
}

// A study saved before the history was kept has none: its chart is left out.
std::vector<SamplingPoint> HistoryFrom(const json& object) {
    std::vector<SamplingPoint> history;
    for (const json& point : object.value("history", json::array())) {
        history.push_back({point.at("samples").get<int>(), point.at("probability").get<double>(),
                           PairFrom(point.at("interval_95"))});
    }
    return history;
}

json InadmissibleSamples(const std::vector<InadmissibleSample>& samples) {
    json list = json::array();
    for (const InadmissibleSample& sample : samples) {
        json strengths = json::array();
        for (const DrawnStrength& strength : sample.strengths) {
            strengths.push_back({{"id", strength.variableId}, {"value", strength.value}});
        }
        list.push_back({{"sample", sample.number}, {"strengths", strengths}});
    }
    return list;
}

json SampledFactors(const std::vector<std::array<double, 2>>& factors) {
    json list = json::array();
    for (const auto& pair : factors) {
        list.push_back(Pair(pair));
    }
    return list;
}

// A study saved before the factors were kept has none: its distribution is left out.
std::vector<std::array<double, 2>> SampledFactorsFrom(const json& object) {
    std::vector<std::array<double, 2>> factors;
    for (const json& pair : object.value("sampled_factors", json::array())) {
        factors.push_back(PairFrom(pair));
    }
    return factors;
}

// A study saved before the samples not run were kept has none.
std::vector<InadmissibleSample> InadmissibleSamplesFrom(const json& object) {
    std::vector<InadmissibleSample> samples;
    for (const json& sample : object.value("inadmissible_samples", json::array())) {
        samples.push_back({sample.at("sample").get<int>(), {}});
        for (const json& strength : sample.at("strengths")) {
            samples.back().strengths.push_back(
                {strength.at("id").get<int>(), strength.at("value").get<double>()});
        }
    }
    return samples;
}

// What only the surrogate writes: how it learned and how far its classification is trusted.
void AddSurrogate(const SurrogateFacts& facts, json& object) {
    json leaveOneOut = json::array();
    for (const auto& pair : facts.leaveOneOut) {
        leaveOneOut.push_back(Pair(pair));
    }
    object.update({{"population", facts.population},
                   {"runs", facts.runs},
                   {"method_runs_used", facts.methodRunsUsed},
                   {"rounds", facts.rounds},
                   {"converged", facts.converged},
                   {"error_estimate", Optional(facts.errorEstimate)},
                   {"runs_per_round", facts.runsPerRound},
                   {"leave_one_out", leaveOneOut},
                   {"predicted_factors", SampledFactors(facts.predictedFactors)}});
}

SurrogateFacts SurrogateFrom(const json& object) {
    SurrogateFacts facts;
    facts.population = object.at("population").get<int>();
    facts.runs = object.at("runs").get<int>();
    facts.methodRunsUsed = object.at("method_runs_used").get<int>();
    facts.rounds = object.at("rounds").get<int>();
    facts.converged = object.at("converged").get<bool>();
    facts.errorEstimate = Optional(object.at("error_estimate"));
    facts.stoppedBy = object.at("stopped_by").get<std::string>();
    facts.runsPerRound = object.value("runs_per_round", std::vector<int>{});
    for (const json& pair : object.value("leave_one_out", json::array())) {
        facts.leaveOneOut.push_back(PairFrom(pair));
    }
    // A study saved before they were kept has none: its distribution is left out.
    for (const json& pair : object.value("predicted_factors", json::array())) {
        facts.predictedFactors.push_back(PairFrom(pair));
    }
    return facts;
}

} // namespace

json SamplingJson(const SamplingResult& result) {
    // The keys every kind writes; an object's keys are written in name order.
    json object = {
        {"kind", SamplingKindName(result.kind)},
        {"seed", result.seed},
        {"failed_runs", result.failedRuns},
        {"errors", result.errors},
        {"inadmissible", result.inadmissible},
        {"probability_of_failure", result.probability},
        {"cov", Optional(result.cov)},
        {"interval_95", Pair(result.interval95)},
        {"probability_bounds", Pair(result.bounds)},
        {"failed_runs_decide", result.failedRunsDecide},
        {"beta", Optional(result.beta)},
        {"stopped_by", StoppedByName(result)},
        {"history", History(result.history)},
        {"form_disagrees", result.formDisagrees ? json(*result.formDisagrees) : json(nullptr)}};
    if (result.surrogate) {
        AddSurrogate(*result.surrogate, object);
    } else {
        object.update({{"samples", result.samples},
                       {"failures", result.failures},
                       {"inadmissible_samples", InadmissibleSamples(result.inadmissibleSamples)},
                       {"sampled_factors", SampledFactors(result.sampledFactors)}});
    }
    return object;
}

SamplingResult SamplingFromJson(const json& object) {
    SamplingResult result;
    const json& kind = object.at("kind");
    const std::optional<SamplingKind> named = SamplingKindFromName(kind.get<std::string>());
    if (!named || *named == SamplingKind::None) {
        throw json::other_error::create(501, "unknown sampling " + kind.dump(), &kind);
    }
    result.kind = *named;
    result.seed = object.at("seed").get<std::uint64_t>();
    if (result.kind == SamplingKind::Surrogate) {
        result.surrogate = SurrogateFrom(object);
        result.samples = result.surrogate->population;
    } else {
        result.samples = object.at("samples").get<int>();
        result.failures = object.at("failures").get<int>();
    }
    result.failedRuns = object.at("failed_runs").get<int>();
    result.errors = object.at("errors").get<std::vector<std::string>>();
    result.inadmissible = object.at("inadmissible").get<int>();
    result.probability = object.at("probability_of_failure").get<double>();
    result.cov = Optional(object.at("cov"));
    result.interval95 = PairFrom(object.at("interval_95"));
    result.bounds = PairFrom(object.at("probability_bounds"));
    result.failedRunsDecide = object.at("failed_runs_decide").get<bool>();
    result.beta = Optional(object.at("beta"));
    result.stoppedByTarget = object.at("stopped_by").get<std::string>() == "target-cov";
    result.history = HistoryFrom(object);
    result.inadmissibleSamples = InadmissibleSamplesFrom(object);
    result.sampledFactors = SampledFactorsFrom(object);
    // Saved before the comparison with FORM was kept, a study has none.
    if (const json disagrees = object.value("form_disagrees", json()); !disagrees.is_null()) {
        result.formDisagrees = disagrees.get<bool>();
    }
    return result;
}

} // namespace zelmora
