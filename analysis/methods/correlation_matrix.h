#pragma once

#include "analysis/methods/correlations.h"

#include <vector>

namespace zelmora {

using Matrix = std::vector<std::vector<double>>;

// The correlation matrix of the variables with those ids, in their order: 1 on the diagonal,
// ρ (or ρ' when normalSpace) for each pair in use, 0 elsewhere.
Matrix CorrelationMatrix(const std::vector<int>& ids, const std::vector<CorrelationInUse>& pairs,
                         bool normalSpace);

// The lower triangular L with L·Lᵀ = the matrix. Throws "The correlations do not form a valid
// correlation matrix." when it is not positive definite.
Matrix CholeskyFactor(const Matrix& matrix);

// Σ_i Σ_j s_i·s_j·ρ_ij.
double CorrelatedVariance(const std::vector<double>& sensitivities, const Matrix& correlation);

} // namespace zelmora
