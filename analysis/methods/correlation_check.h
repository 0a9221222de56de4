#pragma once

#include "analysis/methods/correlations.h"
#include "analysis/methods/random_variables.h"

#include <vector>

namespace zelmora {

// Refuses, with a message naming them, pairs that name a strength that is not random in the soil
// rows, pair a strength with itself, are given twice (in either order) or have ρ outside (-1, 1).
void CheckCorrelationPairs(const Correlations& correlations, const SoilRows& soil);

// The Nataf correlation of the normals beneath two lognormal strengths with coefficients of
// variation va and vb: ln(1 + ρ·va·vb) / √(ln(1 + va²)·ln(1 + vb²)).
double NatafCorrelation(double rho, double va, double vb);

// The pairs an analysis of the inputs' variables uses: checked, those with ρ ≠ 0, with ρ' by the
// Nataf rule when lognormal. Throws before any run when a ρ' leaves (-1, 1) or when the matrix
// of ρ, or of ρ' with lognormal strengths, is not a valid correlation matrix.
std::vector<CorrelationInUse> CorrelationsInUse(const Correlations& correlations,
                                                const AnalysisInputs& inputs, bool lognormal);

// The stored pairs whose strengths are all random in the soil rows now; each pair left out adds a
// line to `notes` naming it.
Correlations PairsOfRandomStrengths(const Correlations& stored, const SoilRows& soil,
                                    std::string& notes);

} // namespace zelmora
