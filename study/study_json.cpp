#include "study/study_json.h"

#include "report/analysis_json_read.h"

#include <nlohmann/json.hpp>

namespace zelmora {

namespace {

using nlohmann::json;

constexpr int StudyVersion = 1;

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

StudySettings Settings(const json& document) {
    StudySettings settings;
    if (!document.contains("settings")) {
        return settings;
    }
    const json& object = Member(document, "settings", json::value_t::object);
    settings.method = Named(object, "method", settings.method, MethodFromName);
    settings.strengths = Named(object, "strengths", settings.strengths, DistributionFromName);
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
    json document = json::parse(text, nullptr, false);
    if (document.is_discarded()) {
        throw EStudyContent("it is not JSON");
    }
    if (!document.is_object() || !document.contains("zelmora_study")) {
        throw EStudyContent("it is not a study file");
    }
    if (document.at("zelmora_study") != StudyVersion) {
        throw EStudyContent("its version is not 1");
    }
    return document;
}

} // namespace

StudyContent ParseStudy(const std::string& text) {
    const json document = Document(text);
    StudyContent content;
    if (document.contains("project_file_sha256")) {
        content.projectFileSha256 =
            Member(document, "project_file_sha256", json::value_t::string).get<std::string>();
    }
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
    if (content.study.analysisJson.empty()) {
        document.erase("analysis");
    } else {
        document["analysis"] = json::parse(content.study.analysisJson);
    }
    return document.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

} // namespace zelmora
