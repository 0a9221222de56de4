#pragma once

#include "project/project_state.h"

#include <cmath>

namespace zelmora::testing {

// Three random variables with round sensitivities, one of them negative, step 1:
//   φ of row 1 (set 1, 30° ± 3°):   F 1.40, s =  0.10, s² = 0.0100
//   c of row 1 (set 1, 10 ± 2):      F 1.30, s =  0.20, s² = 0.0400
//   c of row 2 (set 4, 5 ± 1):       F 1.55, s = -0.05, s² = 0.0025
// F_mean 1.5, so Σs² = 0.0525 = 21/400, σ_F = √21/20, shares 4/21, 16/21, 1/21, β = 10/√21;
// all reduced 1.25 gives the linearity 0.25 / 0.25 = 1. Row 2's φ has no deviation.
inline void SetThreeVariableProject() {
    State = ProjectState{};
    State.StepSize = 1.0;
    State.BatchPath = "/opt/fe/batch";
    State.ProjectPath = "/home/eng/slope.plx";
    State.ProjectName = "slope";
    Row(State, 1) = {1, 30, 3, 10, 2};
    Row(State, 2) = {4, 20, 0, 5, 1};
    Entry(State.SafetyFactors, -2) = 1.25;
    Entry(State.SafetyFactors, -1) = 1.5;
    Entry(State.SafetyFactors, 0) = 1.5;
    Entry(State.SafetyFactors, 1) = 1.4;
    Entry(State.SafetyFactors, 11) = 1.3;
    Entry(State.SafetyFactors, 12) = 1.55;
    State.Beta = 10 / std::sqrt(21.0);
    State.Linearity = 1;
}

} // namespace zelmora::testing
