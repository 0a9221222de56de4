#pragma once

#include "analysis/methods/correlations.h"
#include "analysis/methods/derived_results.h"

#include <optional>
#include <vector>

namespace zelmora {

struct CorrelatedReliability {
    double beta = 0;
    double probability = 0; // Φ(-β)
};

// First order's β with correlations, from its sensitivities and no further run:
// (F_mean - 1) / σ_F with σ_F² = Σ_i Σ_j s_i·s_j·ρ_ij. None without pairs in use or before the
// first-order β exists.
std::optional<CorrelatedReliability>
FirstOrderCorrelated(const DerivedResults& results, const std::vector<CorrelationInUse>& pairs);

} // namespace zelmora
