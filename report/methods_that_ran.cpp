#include "report/methods_that_ran.h"

#include <nlohmann/json.hpp>

namespace zelmora {

namespace {

using nlohmann::json;

std::optional<double> Number(const json& object, const char* key) {
    return object.contains(key) && !object.at(key).is_null()
               ? std::optional<double>(object.at(key).get<double>())
               : std::nullopt;
}

MethodThatRan FirstOrder(const json& results) {
    return {"First order", Number(results, "beta"), Number(results, "probability_of_failure_exact"),
            ""};
}

MethodThatRan FurtherMethod(const json& method) {
    const bool form = method.at("name").get<std::string>() == "form";
    const bool converged = !form || method.at("converged").get<bool>();
    return {form ? "FORM" : "Taylor series", Number(method, "beta"),
            Number(method, "probability_of_failure"), converged ? "" : "not converged"};
}

MethodThatRan Sampling(const json& sampling) {
    std::string remark;
    if (sampling.at("failed_runs_decide").get<bool>()) {
        remark = "failed runs decide it";
    } else if (sampling.at("stopped_by").get<std::string>() != "target-cov") {
        remark = "stopped before its target CoV";
    }
    return {"Sampling check", Number(sampling, "beta"), Number(sampling, "probability_of_failure"),
            remark};
}

// The last method listed that may be relied on: the list runs from the least to the most
// trusted.
std::optional<std::size_t> ReliedOn(const std::vector<MethodThatRan>& methods) {
    for (std::size_t k = methods.size(); k-- > 0;) {
        if (methods[k].beta && methods[k].remark.empty()) {
            return k;
        }
    }
    return std::nullopt;
}

} // namespace

MethodsThatRan ReadMethodsThatRan(const std::string& analysisJson) {
    const json document = json::parse(analysisJson);
    MethodsThatRan ran;
    ran.methods.push_back(FirstOrder(document.at("results")));
    if (document.contains("method") && document.at("method").at("name") != "first-order") {
        ran.methods.push_back(FurtherMethod(document.at("method")));
    }
    if (document.contains("sampling")) {
        ran.methods.push_back(Sampling(document.at("sampling")));
    }
    ran.reliedOn = ReliedOn(ran.methods);
    return ran;
}

} // namespace zelmora
