#pragma once

#include "analysis/runs/run_executor.h"

#include <memory>

namespace zelmora {

// One run at a time in the project's own data folder, by the command line as the project holds
// it, started in the folder `startsIn` (empty: ours); the calculator's output goes to the log in
// the model's work folder, or where that keeps none (Windows) to `consoleFd` (-1: a console of
// its own). At the end the modification file is left without modifications.
std::unique_ptr<RunExecutor> MakeInPlaceExecutor(ProcessSet& processes,
                                                 const AnalysisInputs& inputs,
                                                 const std::string& startsIn, int consoleFd,
                                                 const ExecutionControl& control);

} // namespace zelmora
