#include "report/methods_that_ran.h"

#include "report/finished_runs.h"

#include <cmath>

namespace zelmora {

namespace {

// A value that is not a finite number counts as none, as the analysis JSON writes it.
std::optional<double> Finite(std::optional<double> value) {
    return value && std::isfinite(*value) ? value : std::nullopt;
}

MethodThatRan FurtherMethod(const MethodResult& method) {
    const bool converged = method.method != Method::Form || method.converged;
    return {MethodTitle(method.method), Finite(method.beta), Finite(method.probability),
            converged ? "" : "not converged"};
}

MethodThatRan Sampling(const SamplingResult& sampling) {
    std::string remark;
    if (sampling.failedRunsDecide) {
        remark = "failed runs decide it";
    } else if (!sampling.stoppedByTarget) {
        remark = "stopped before its target CoV";
    }
    return {"Sampling check", Finite(sampling.beta), Finite(sampling.probability), remark};
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

MethodThatRan FirstOrderThatRan(const ProjectState& project, const AnalysisRecord& record) {
    const DerivedResults derived = FinishedRuns(record, project).Results();
    return {MethodTitle(Method::FirstOrder),
            derived.sigmaF ? std::optional(project.Beta) : std::nullopt, derived.exactProbability,
            ""};
}

MethodsThatRan MethodsThatRanIn(const MethodThatRan& firstOrder, const AnalysisRecord& record) {
    MethodsThatRan ran;
    ran.methods.push_back(firstOrder);
    ran.methods.front().beta = Finite(firstOrder.beta);
    ran.methods.front().probability = Finite(firstOrder.probability);
    if (record.method && record.method->method != Method::FirstOrder) {
        ran.methods.push_back(FurtherMethod(*record.method));
    }
    if (record.sampling) {
        ran.methods.push_back(Sampling(*record.sampling));
    }
    ran.reliedOn = ReliedOn(ran.methods);
    return ran;
}

} // namespace zelmora
