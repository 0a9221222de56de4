#pragma once

#include "processes/process_runner.h"

#include <string>

namespace zelmora {

// "<BatchPath> <ProjectPath> /c".
std::string BuildBatchCommandLine();

// One finite-element run: modification file, calculator, result file.
void PerformRun(int runId, const std::string& batchCommandLine, const ProcessRunner& runner);

} // namespace zelmora
