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
inline ProjectState ThreeVariableProject() {
    ProjectState project{};
    project.StepSize = 1.0;
    project.BatchPath = "/opt/fe/batch";
    project.ProjectPath = "/home/eng/slope.plx";
    project.ProjectName = "slope";
    Row(project, 1) = {1, 30, 3, 10, 2};
    Row(project, 2) = {4, 20, 0, 5, 1};
    Entry(project.SafetyFactors, -2) = 1.25;
    Entry(project.SafetyFactors, -1) = 1.5;
    Entry(project.SafetyFactors, 0) = 1.5;
    Entry(project.SafetyFactors, 1) = 1.4;
    Entry(project.SafetyFactors, 11) = 1.3;
    Entry(project.SafetyFactors, 12) = 1.55;
    project.Beta = 10 / std::sqrt(21.0);
    project.Linearity = 1;
    return project;
}

// The same as the project state, for the windows.
inline void SetThreeVariableProject() {
    State = ThreeVariableProject();
}

} // namespace zelmora::testing
