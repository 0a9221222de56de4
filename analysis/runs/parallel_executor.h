#pragma once

#include "analysis/runs/run_executor.h"

#include <memory>

namespace zelmora {

// Up to `workers` runs at once, each worker in its own copy of the project beside it. Creating
// the copies may fail with an input/output error before any run starts.
std::unique_ptr<RunExecutor> MakeParallelExecutor(ProcessSet& processes, int workers,
                                                  const ExecutionControl& control);

} // namespace zelmora
