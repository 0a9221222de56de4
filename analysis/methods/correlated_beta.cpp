#include "analysis/methods/correlated_beta.h"

#include "analysis/methods/correlation_matrix.h"
#include "analysis/methods/exact_normal_tail.h"
#include "analysis/methods/first_order_result.h"

namespace zelmora {

std::optional<CorrelatedReliability>
FirstOrderCorrelated(const DerivedResults& results, const std::vector<CorrelationInUse>& pairs) {
    if (pairs.empty() || !results.sigmaF || !results.meanFactor) {
        return std::nullopt;
    }
    std::vector<int> ids;
    std::vector<double> sensitivities;
    for (const VariableResult& v : results.variables) {
        ids.push_back(v.variableId);
        sensitivities.push_back(*v.sensitivity);
    }
    const Matrix correlation = CorrelationMatrix(ids, pairs, false);
    const std::optional<double> beta =
        FirstOrderResultOf(*results.meanFactor, sensitivities, Precision::Extended, &correlation)
            .Beta();
    if (!beta) {
        return std::nullopt;
    }
    return CorrelatedReliability{*beta, NormalTail(*beta)};
}

} // namespace zelmora
