#pragma once

#include "processes/process_runner.h"
#include "processes/process_set.h"

#include <memory>

namespace zelmora {

// A set that runs each process through a runner that returns when the process has ended, one
// at a time: the seam of tests that play the calculator in-process.
std::unique_ptr<ProcessSet> MakeSequentialProcesses(ProcessRunner runner);

} // namespace zelmora
