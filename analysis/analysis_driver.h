#pragma once

#include "analysis/calculation_log.h"
#include "analysis/process_runner.h"

namespace zelmora {

// Clears the results and builds State.Variables and State.VariableCount.
void BuildVariableList();

// The whole reliability analysis: N + 3 runs, sensitivities, beta, probability, linearity.
void RunAnalysis(CalculationLog& log, const ProcessRunner& runner);

} // namespace zelmora
