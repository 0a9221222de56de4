#include "study/study_json.h"

#include "report/json/analysis_json_read.h"
#include "study/json_depth.h"

#include <cstdint>
#include <cstdlib>
#include <map>
#include <nlohmann/json.hpp>

namespace zelmora {

namespace {

using nlohmann::json;

constexpr int StudyVersion = 1;
// Deeper than any study this version writes, shallow enough to parse in bounded memory.
constexpr int MostLevels = 64;
constexpr std::size_t DigestDigits = 64;

const json& Member(const json& object, const char* key, json::value_t type) {
    const json& value = object.at(key);
    if (value.type() != type) {
        throw EStudyContent(std::string("\"") + key + "\" has the wrong type");
    }
    return value;
}

template <class Value>
Value Named(const json& settings, const char* key, Value fallback,
            std::optional<Value> (*fromName)(std::string_view)) {
    if (!settings.contains(key)) {
        return fallback;
    }
    const std::string name = Member(settings, key, json::value_t::string).get<std::string>();
    const std::optional<Value> value = fromName(name);
    if (!value) {
        throw EStudyContent(std::string("\"") + key + "\" has the unknown value \"" + name + "\"");
    }
    return *value;
}

// A strength as {"row": 1..10, "parameter": "phi" | "cohesion"}.
json StrengthJson(int id) {
    const bool friction = id <= SoilRowCount;
    return {{"row", friction ? id : id - SoilRowCount},
            {"parameter", friction ? "phi" : "cohesion"}};
}

int StrengthFrom(const json& side) {
    if (!side.is_object() || !side.contains("row") || !side.contains("parameter")) {
        throw EStudyContent("a correlation names a strength without its row and parameter");
    }
    const json& row = Member(side, "row", json::value_t::number_unsigned);
    const std::string parameter = Member(side, "parameter", json::value_t::string);
    const int number = row.get<int>();
    if (number < 1 || number > SoilRowCount || (parameter != "phi" && parameter != "cohesion")) {
        throw EStudyContent("a correlation names no strength of the soil table");
    }
    return StrengthId(number, parameter == "phi");
}

Correlations CorrelationsFrom(const json& settings) {
    Correlations pairs;
    if (!settings.contains("correlations")) {
        return pairs;
    }
    for (const json& pair : Member(settings, "correlations", json::value_t::array)) {
        if (!pair.is_object() || !pair.contains("rho") || !pair.at("rho").is_number()) {
            throw EStudyContent("a correlation has no number \"rho\"");
        }
        const double rho = pair.at("rho").get<double>();
        if (!(rho > -1 && rho < 1)) {
            throw EStudyContent("a correlation has a \"rho\" outside (-1, 1)");
        }
        pairs.push_back({StrengthFrom(pair.value("a", json())),
                         StrengthFrom(pair.value("b", json())), pair.at("rho").get<double>()});
    }
    return pairs;
}

std::map<int, std::string> SetNamesFrom(const json& settings) {
    std::map<int, std::string> names;
    if (!settings.contains("set_names")) {
        return names;
    }
    for (const auto& [key, name] : Member(settings, "set_names", json::value_t::object).items()) {
        const int row = std::atoi(key.c_str());
        if (std::to_string(row) != key || row < 1 || row > SoilRowCount || !name.is_string()) {
            throw EStudyContent("\"set_names\" holds something else than names of rows 1 to 10");
        }
        names[row] = name.get<std::string>();
    }
    return names;
}

double TargetBetaFrom(const json& settings, double fallback) {
    if (!settings.contains("target_beta")) {
        return fallback;
    }
    const json& value = settings.at("target_beta");
    if (!value.is_number() || !(value.get<double>() > 0) || value.get<double>() > MostTargetBeta) {
        throw EStudyContent("\"target_beta\" is not a number above 0 and up to 10");
    }
    return value.get<double>();
}

// The sign-off's four texts; a study saved before them has none.
SignOff SignOffFrom(const json& settings) {
    const auto text = [&settings](const char* key) {
        if (!settings.contains(key)) {
            return std::string();
        }
        if (!settings.at(key).is_string()) {
            throw EStudyContent("\"" + std::string(key) + "\" has the wrong type");
        }
        return settings.at(key).get<std::string>();
    };
    return {text("job"), text("client"), text("prepared_by"), text("checked_by")};
}

json CorrelationsJson(const Correlations& pairs) {
    json list = json::array();
    for (const StrengthCorrelation& pair : pairs) {
        list.push_back(
            {{"a", StrengthJson(pair.a)}, {"b", StrengthJson(pair.b)}, {"rho", pair.rho}});
    }
    return list;
}

json SetNamesJson(const std::map<int, std::string>& names) {
    json object = json::object();
    for (const auto& [row, name] : names) {
        object[std::to_string(row)] = name;
    }
    return object;
}

// A count of the surrogate's, 0 (out of range) where it is beyond an int.
int SurrogateCount(const json& object, const char* name, int fallback) {
    if (!object.contains(name)) {
        return fallback;
    }
    const auto count = Member(object, name, json::value_t::number_unsigned).get<std::uint64_t>();
    return count > static_cast<std::uint64_t>(MostRuns) ? 0 : static_cast<int>(count);
}

// {"kind", "samples", "target_cov", "seed", "batch", "max_runs"}, each optional with its
// default.
SamplingSettings SamplingFrom(const json& settings) {
    SamplingSettings sampling;
    if (!settings.contains("sampling")) {
        return sampling;
    }
    const json& object = Member(settings, "sampling", json::value_t::object);
    sampling.kind = Named(object, "kind", sampling.kind, SamplingKindFromName);
    if (object.contains("samples")) {
        const auto samples =
            Member(object, "samples", json::value_t::number_unsigned).get<std::uint64_t>();
        sampling.samples = samples > MostSamples ? 0 : static_cast<int>(samples);
    }
    if (object.contains("target_cov")) {
        if (!object.at("target_cov").is_number()) {
            throw EStudyContent("\"target_cov\" has the wrong type");
        }
        sampling.targetCov = object.at("target_cov").get<double>();
    }
    if (object.contains("seed")) {
        sampling.seed = Member(object, "seed", json::value_t::number_unsigned).get<std::uint64_t>();
    }
    sampling.batch = SurrogateCount(object, "batch", sampling.batch);
    sampling.maxRuns = SurrogateCount(object, "max_runs", sampling.maxRuns);
    if (!SamplingSettingsValid(sampling)) {
        throw EStudyContent("\"sampling\" holds samples outside 20 to 100000 or a target "
                            "coefficient of variation outside (0, 1)");
    }
    return sampling;
}

// The surrogate's own settings are written only for it, so that the other studies' files stay.
json SamplingSettingsJson(const SamplingSettings& sampling) {
    json object = {{"kind", SamplingKindName(sampling.kind)},
                   {"samples", sampling.samples},
                   {"target_cov", sampling.targetCov},
                   {"seed", sampling.seed}};
    if (sampling.kind == SamplingKind::Surrogate) {
        object["batch"] = sampling.batch;
        object["max_runs"] = sampling.maxRuns;
    }
    return object;
}

StudySettings Settings(const json& document) {
    StudySettings settings;
    if (!document.contains("settings")) {
        return settings;
    }
    const json& object = Member(document, "settings", json::value_t::object);
    settings.method = Named(object, "method", settings.method, MethodFromName);
    settings.strengths = Named(object, "strengths", settings.strengths, DistributionFromName);
    settings.correlations = CorrelationsFrom(object);
    settings.setNames = SetNamesFrom(object);
    settings.sampling = SamplingFrom(object);
    settings.targetBeta = TargetBetaFrom(object, settings.targetBeta);
    settings.signOff = SignOffFrom(object);
    return settings;
}

std::string Analysis(const json& document) {
    if (!document.contains("analysis")) {
        return {};
    }
    const json& analysis = Member(document, "analysis", json::value_t::object);
    std::string text = analysis.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
    try {
        RecordFromAnalysisJson(text);
    } catch (const json::exception&) {
        throw EStudyContent("\"analysis\" is not an analysis as zelmora-batch writes it");
    }
    return text;
}

json Document(const std::string& text) {
    if (NestedDeeperThan(text, MostLevels)) {
        throw EStudyContent("it is nested deeper than 64 levels");
    }
    json document = json::parse(text, nullptr, false);
    if (document.is_discarded()) {
        throw EStudyContent("it is not JSON");
    }
    if (!document.is_object() || !document.contains("zelmora_study")) {
        throw EStudyContent("it is not a study file");
    }
    const json& version = document.at("zelmora_study");
    if (!version.is_number_integer()) {
        throw EStudyContent("\"zelmora_study\" has the wrong type");
    }
    if (version != StudyVersion) {
        throw EStudyContent("its version is not 1");
    }
    return document;
}

std::string Digest(const json& document) {
    if (!document.contains("project_file_sha256")) {
        return {};
    }
    std::string digest =
        Member(document, "project_file_sha256", json::value_t::string).get<std::string>();
    const bool hex = digest.find_first_not_of("0123456789abcdef") == std::string::npos;
    if (digest.size() != DigestDigits || !hex) {
        throw EStudyContent("\"project_file_sha256\" is not 64 lowercase hexadecimal digits");
    }
    return digest;
}

} // namespace

StudyContent ParseStudy(const std::string& text) {
    const json document = Document(text);
    StudyContent content;
    content.projectFileSha256 = Digest(document);
    content.study.settings = Settings(document);
    content.study.analysisJson = Analysis(document);
    content.study.readDocument = text;
    return content;
}

std::string StudyJson(const StudyContent& content) {
    json document = content.study.readDocument.empty() ? json::object()
                                                       : json::parse(content.study.readDocument);
    document["zelmora_study"] = StudyVersion;
    document["project_file_sha256"] = content.projectFileSha256;
    document["settings"]["method"] = MethodName(content.study.settings.method);
    document["settings"]["strengths"] = DistributionName(content.study.settings.strengths);
    document["settings"]["correlations"] = CorrelationsJson(content.study.settings.correlations);
    document["settings"]["set_names"] = SetNamesJson(content.study.settings.setNames);
    document["settings"]["sampling"] = SamplingSettingsJson(content.study.settings.sampling);
    document["settings"]["target_beta"] = content.study.settings.targetBeta;
    const SignOff& signOff = content.study.settings.signOff;
    document["settings"]["job"] = signOff.job;
    document["settings"]["client"] = signOff.client;
    document["settings"]["prepared_by"] = signOff.preparedBy;
    document["settings"]["checked_by"] = signOff.checkedBy;
    if (content.study.analysisJson.empty()) {
        document.erase("analysis");
    } else {
        document["analysis"] = json::parse(content.study.analysisJson);
    }
    return document.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

} // namespace zelmora
