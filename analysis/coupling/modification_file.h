#pragma once

#include "analysis/coupling/analysis_inputs.h"

#include <string>
#include <vector>

namespace zelmora {

enum class Strength { Mean, Reduced };

// A value a run writes for variable v (1..20) as the calculator reads it back: for a friction
// angle the sine.
struct ValueWritten {
    int variableId = 0;
    double value = 0;
};

// What a run writes: each value's line as ModificationLineWithValue gives it, after the count.
std::vector<std::string> LinesWriting(const SoilRows& soil,
                                      const std::vector<ValueWritten>& values);

// The values the modification file of a run (-2, -1, 0 or 1..N) writes, in its order.
std::vector<ValueWritten> ValuesWrittenBy(const AnalysisInputs& inputs, int runId);

// The value a modification line gives variable v (1..20): for a friction angle the sine.
double ModificationValue(const AnalysisInputs& inputs, int variable, Strength strength);

// The modification line that gives variable v (1..20) a value (for a friction angle, its sine),
// naming the set of its row.
std::string ModificationLineWithValue(const SoilRows& soil, int variable, double value);

// The lines of the modification file of a run (-2, -1, 0 or 1..N), without their line ends.
std::vector<std::string> ModificationLines(const AnalysisInputs& inputs, int runId);

// Writes the lines, each ended by CR LF, as the file at `path`. `shownPath` is the path a
// refusal names, when `path` reaches the file another way.
void WriteModificationFile(const std::string& path, const std::vector<std::string>& lines,
                           const std::string& shownPath = {});

} // namespace zelmora
