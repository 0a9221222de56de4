#pragma once

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
std::vector<std::string> LinesWriting(const std::vector<ValueWritten>& values);

// The values the modification file of a run writes, in its order.
std::vector<ValueWritten> ValuesWrittenBy(int runId);

// The value a modification line gives variable v (1..20): for a friction angle the sine.
double ModificationValue(int variable, Strength strength);

// The modification line that gives variable v (1..20) a value (for a friction angle, its sine).
std::string ModificationLineWithValue(int variable, double value);

// The lines of the modification file of a run, without their line ends.
std::vector<std::string> ModificationLines(int runId);
// `shownPath` is the path a refusal names, when `path` reaches the file another way.
void WriteModificationLines(const std::string& path, const std::vector<std::string>& lines,
                            const std::string& shownPath = {});
void WriteModificationFile(const std::string& path, int runId);

} // namespace zelmora
