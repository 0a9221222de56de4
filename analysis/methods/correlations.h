#pragma once

#include "project/project_state.h"

#include <vector>

namespace zelmora {

// The correlation ρ of two random strengths, named by their VariableIds (1..10 the friction
// angle of that row, 11..20 the cohesion of row id - 10). ρ is that of the physical strengths,
// φ in degrees and c in kN/m²; a pair not given has ρ = 0.
struct StrengthCorrelation {
    int a = 0;
    int b = 0;
    double rho = 0;
};

using Correlations = std::vector<StrengthCorrelation>;

// A pair as an analysis uses it: ρ and the correlation of the strengths' standard normal
// variables, ρ' (equal to ρ for normal strengths, the Nataf value for lognormal ones in FORM).
struct CorrelationInUse {
    int a = 0;
    int b = 0;
    double rho = 0;
    double rhoNormal = 0;
};

// The VariableId of a row's friction angle or cohesion.
inline int StrengthId(int row, bool friction) {
    return friction ? row : row + SoilRowCount;
}

} // namespace zelmora
