#include "report/relied_on.h"

#include "analysis/methods/exact_normal_tail.h"
#include "project/number_forms.h"

#include <cmath>

namespace zelmora {

namespace {

bool Finite(std::optional<double> value) {
    return value && std::isfinite(*value);
}

std::string Count(int count, const std::string& what) {
    return FormatInteger(count, 0) + " " + what;
}

std::optional<ReliedOn> FromSampling(const SamplingResult& sampling) {
    // A surrogate is a sampling result only where its learning converged.
    if (!sampling.stoppedByTarget || (sampling.surrogate && !sampling.surrogate->converged)) {
        return std::nullopt;
    }
    const std::string title = SamplingTitle(sampling.kind);
    const int notRun = sampling.failedRuns + sampling.inadmissible;
    ReliedOn relied{SamplingKindName(sampling.kind), sampling.probability, 0, notRun > 0, ""};
    if (relied.upperBound) {
        relied.probability = sampling.bounds[1];
        relied.why = "An upper bound: " + title + " stopped by its target CoV, but " +
                     Count(notRun, "samples were not run") + " (" +
                     Count(sampling.failedRuns, "failed") + ", " +
                     Count(sampling.inadmissible, "inadmissible") +
                     "), so its probability of failure is taken with them counted as failures.";
    } else {
        relied.why = title + " stopped by its target CoV with every sample run, so its estimate "
                             "is relied on.";
    }
    if (!(relied.probability > 0 && relied.probability < 1)) {
        return std::nullopt;
    }
    relied.beta = TailQuantile(relied.probability);
    return relied;
}

std::optional<ReliedOn> FromMethod(const MethodResult& method, bool samplingDisagrees) {
    if (!Finite(method.beta) || !Finite(method.probability)) {
        return std::nullopt;
    }
    if (method.method == Method::Form) {
        if (!method.converged || samplingDisagrees) {
            return std::nullopt;
        }
        return ReliedOn{"form", *method.probability, *method.beta, false,
                        "FORM converged and no sampling check disagrees with it."};
    }
    if (method.method == Method::Taylor) {
        return ReliedOn{"taylor", *method.probability, *method.beta, false,
                        "The Taylor series is relied on: no sampling check met its target."};
    }
    return std::nullopt;
}

std::string FirstOrderWhy(const AnalysisRecord& record, bool samplingDisagrees) {
    if (record.method && record.method->method == Method::Form) {
        return samplingDisagrees ? "First order is relied on: FORM lies outside the sampling "
                                   "check's interval and the check did not meet its target."
                                 : "First order is relied on: FORM did not converge.";
    }
    return "First order is the only method that gave a β to rely on.";
}

} // namespace

std::optional<ReliedOn> ReliedOnIn(std::optional<double> firstOrderBeta,
                                   std::optional<double> firstOrderProbability,
                                   const AnalysisRecord& record) {
    if (record.sampling) {
        if (auto relied = FromSampling(*record.sampling)) {
            return relied;
        }
    }
    const bool disagrees = record.sampling && record.sampling->formDisagrees.value_or(false);
    if (record.method) {
        if (auto relied = FromMethod(*record.method, disagrees)) {
            return relied;
        }
    }
    if (!Finite(firstOrderBeta) || !Finite(firstOrderProbability)) {
        return std::nullopt;
    }
    return ReliedOn{"first-order", *firstOrderProbability, *firstOrderBeta, false,
                    FirstOrderWhy(record, disagrees)};
}

} // namespace zelmora
