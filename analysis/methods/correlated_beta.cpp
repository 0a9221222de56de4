#include "analysis/methods/correlated_beta.h"

#include "analysis/methods/correlation_matrix.h"
#include "analysis/methods/exact_normal_tail.h"
#include "analysis/runs/run_plan.h"
#include "project/errors.h"

#include <cmath>

namespace zelmora {

std::optional<CorrelatedReliability>
FirstOrderCorrelated(const DerivedResults& results, const std::vector<CorrelationInUse>& pairs) {
    const std::optional<double> meanFactor = StoredSafetyFactor(MeanValueRun);
    if (pairs.empty() || !results.sigmaF || !meanFactor) {
        return std::nullopt;
    }
    std::vector<int> ids;
    std::vector<double> sensitivities;
    for (const VariableResult& v : results.variables) {
        ids.push_back(v.variableId);
        sensitivities.push_back(*v.sensitivity);
    }
    const double variance = CorrelatedVariance(sensitivities, CorrelationMatrix(ids, pairs, false));
    if (variance <= 0) {
        return std::nullopt;
    }
    const double beta = NarrowToDouble((static_cast<long double>(*meanFactor) - 1) /
                                       std::sqrt(static_cast<long double>(variance)));
    return CorrelatedReliability{beta, NormalTail(beta)};
}

} // namespace zelmora
