#pragma once

#include "analysis/process_runner.h"

#include <string>

namespace zelmora {

// Sets State.ModificationFilePath and State.ResultFilePath from the project path and name.
void DeriveDataFilePaths();

// "<BatchPath> <ProjectPath> /c".
std::string BuildBatchCommandLine();

void WriteModificationFile(const std::string& path, int runId);
void ReadResultFile(const std::string& path, int runId);

// One finite-element run: modification file, calculator, result file.
void PerformRun(int runId, const std::string& batchCommandLine, const ProcessRunner& runner);

} // namespace zelmora
