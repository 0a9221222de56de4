#pragma once

#include "analysis/runs/run_executor.h"

#include <memory>

namespace zelmora {

// One run at a time in the project's own data folder; at the end its modification file is left
// without modifications.
std::unique_ptr<RunExecutor> MakeInPlaceExecutor(ProcessSet& processes, int calculatorOutputFd,
                                                 const ExecutionControl& control);

} // namespace zelmora
