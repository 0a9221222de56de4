#pragma once

#include "cli/batch_command.h"

#include <string>

namespace zelmora::batch {

// Refuses, before any run, outputs that would overwrite an input of the analysis of State:
// --json, --report and --csv onto the project file, the study file, the model or anything in the
// model's data or work folder; --save of a project file that is the model or lies in those
// folders. Files are the same when their device and inode are, where both exist, else when
// their resolved paths are. Throws Error naming the option, the input and the path.
void CheckOutputsApartFromInputs(const BatchOptions& options);

} // namespace zelmora::batch
