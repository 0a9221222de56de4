#pragma once

#include "analysis/coupling/analysis_inputs.h"
#include "analysis/methods/method_result.h"
#include "analysis/methods/sampling_settings.h"

#include <string>

namespace zelmora {

// Refuses, before any calculator starts and before anything is written, an analysis of inputs
// that cannot give an honest result: a step size that is not a finite number above 0
// or too small to change a written value, a negative standard deviation, no random variable,
// a friction angle whose lowered sine falls below 0, a missing model file, data folder or
// calculator, a project name that is not the model file's, and what the method needs beforehand.
// Throws Error with a message that names the row, the value or the path.
// A calculator path with a folder is taken from `projectFolder` when there is one.
void CheckBeforeFirstRun(const AnalysisInputs& inputs, Method method,
                         StrengthDistribution strengths, const std::string& projectFolder = {});

// Refuses a sampling check that cannot follow the method (importance sampling needs FORM's
// design point) or whose settings leave their ranges.
void CheckSamplingBeforeFirstRun(const AnalysisInputs& inputs, Method method,
                                 StrengthDistribution strengths, const SamplingSettings& sampling);

} // namespace zelmora
