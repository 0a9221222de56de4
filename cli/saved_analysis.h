#pragma once

#include "cli/batch_command.h"

namespace zelmora::batch {

// Runs nothing: writes the JSON and the report of the analysis saved in the study of the project
// file just read. Without a saved analysis that belongs to the project file, the JSON and the
// report are those of the project file alone, and standard error says why. Failing to write
// them fails the command.
int ShowSavedAnalysis(const BatchOptions& options);

} // namespace zelmora::batch
