#pragma once

#include "analysis/process_runner.h"

#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelmora {

// Sets State.ModificationFilePath and State.ResultFilePath from the project path and name.
void DeriveDataFilePaths();

// The data files' common part for a project path and name: the path without its last three
// characters, the data folder's suffix and the name.
std::string DataFileBase(const std::string& projectPath, const std::string& projectName);

// "<BatchPath> <ProjectPath> /c".
std::string BuildBatchCommandLine();

enum class Strength { Mean, Reduced };

// The value a modification line gives variable v (1..20): for a friction angle the sine.
double ModificationValue(int variable, Strength strength);

// The modification line that gives variable v (1..20) a value (for a friction angle, its sine).
std::string ModificationLineWithValue(int variable, double value);

// The lines of the modification file of a run, without their line ends.
std::vector<std::string> ModificationLines(int runId);
void WriteModificationLines(const std::string& path, const std::vector<std::string>& lines);
void WriteModificationFile(const std::string& path, int runId);

// What reading a result file found: the safety factor of its last complete record and the
// first error, kept apart from the project state so that runs may be read in any order.
struct ResultReading {
    std::exception_ptr openError;
    std::optional<double> safetyFactor;
    std::exception_ptr readError;
};
ResultReading ReadResultRecords(const std::string& path);

// The same for bytes already read from the result file at `path`.
ResultReading ReadResultText(std::string_view text, const std::string& path);

// Reads the result file and stores its safety factor for the run, raising its errors.
void ReadResultFile(const std::string& path, int runId);

// One finite-element run: modification file, calculator, result file.
void PerformRun(int runId, const std::string& batchCommandLine, const ProcessRunner& runner);

} // namespace zelmora
