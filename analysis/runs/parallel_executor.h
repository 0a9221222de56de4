#pragma once

#include "analysis/runs/run_executor.h"

#include <memory>

namespace zelmora {

// Up to `workers` runs at once, each worker in its own copy of the inputs' model beside it.
// Creating the copies may fail with an input/output error before any run starts. The calculators
// start in the folder `startsIn` (empty: ours) and write their output to a log in their copy.
std::unique_ptr<RunExecutor> MakeParallelExecutor(ProcessSet& processes, int workers,
                                                  const AnalysisInputs& inputs,
                                                  const std::string& startsIn,
                                                  const ExecutionControl& control);

} // namespace zelmora
