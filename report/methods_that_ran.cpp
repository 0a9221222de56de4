#include "report/methods_that_ran.h"

#include "analysis/methods/sampling_method.h"
#include "project/value_text.h"
#include "report/finished_runs.h"
#include "report/tables/result_text.h"

#include <cmath>

namespace zelmora {

namespace {

// A value that is not a finite number counts as none, as the analysis JSON writes it.
std::optional<double> Finite(std::optional<double> value) {
    return value && std::isfinite(*value) ? value : std::nullopt;
}

MethodThatRan FurtherMethod(const MethodResult& method, bool samplingDisagrees) {
    std::string remark;
    if (method.method == Method::Form && !method.converged) {
        remark = "not converged";
    } else if (method.method == Method::Form && samplingDisagrees) {
        remark = "outside the sampling check's interval";
    }
    return {MethodTitle(method.method), Finite(method.beta), Finite(method.probability), remark};
}

MethodThatRan Sampling(const SamplingResult& sampling) {
    std::string remark;
    if (!sampling.stoppedByTarget) {
        remark = "stopped before its target CoV";
    }
    std::string note;
    if (sampling.probability == 0) {
        note = sampling.bounds[0] != sampling.bounds[1]
                   ? "between " + DecimalProbabilityText(sampling.bounds[0]) + " and " +
                         DecimalProbabilityText(sampling.bounds[1]) + " with the samples not run"
                   : "95 % interval " + DecimalProbabilityText(sampling.interval95[0]) + " to " +
                         DecimalProbabilityText(sampling.interval95[1]);
    }
    return {"Sampling check", Finite(sampling.beta), Finite(sampling.probability), remark, note};
}

// Where the method relied on stands in the list: first order first, the sampling check last.
std::optional<std::size_t> ListedAt(const std::optional<ReliedOn>& relied, std::size_t listed) {
    if (!relied) {
        return std::nullopt;
    }
    if (relied->method == "first-order") {
        return 0;
    }
    if (relied->method == "form" || relied->method == "taylor") {
        return 1;
    }
    return listed - 1;
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
    const bool disagrees = record.sampling && record.sampling->formDisagrees.value_or(false);
    if (record.method && record.method->method != Method::FirstOrder) {
        ran.methods.push_back(FurtherMethod(*record.method, disagrees));
    }
    if (record.sampling) {
        ran.methods.push_back(Sampling(*record.sampling));
    }
    ran.relied = ReliedOnIn(ran.methods.front().beta, ran.methods.front().probability, record);
    ran.reliedOn = ListedAt(ran.relied, ran.methods.size());
    if (disagrees && record.method && record.method->probability) {
        ran.formDisagreement = FormDisagreesText(*record.sampling, *record.method->probability);
    }
    return ran;
}

std::string ReliedOnLine(const MethodsThatRan& ran) {
    if (!ran.relied) {
        return "No method found a β to rely on.";
    }
    return "Relied on: β " + FixedText(ran.relied->beta) + " by " +
           ran.methods[*ran.reliedOn].name + ", probability of failure " +
           ProbabilityText(ran.relied->probability) + ". " + ran.relied->why;
}

} // namespace zelmora
