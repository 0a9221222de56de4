#pragma once

#include <optional>
#include <string>

namespace zelmora {

// Why the batch calculator that the command line starts cannot be started, or nothing when it
// can: which program, and where it was looked for. The program is found as the runs find it,
// started in `startsIn` (empty: our folder).
std::optional<std::string> CalculatorProblem(const std::string& batchPath,
                                             const std::string& commandLine,
                                             const std::string& startsIn = {});

// The program the user meant by the calculator path: the path without the blanks around it or,
// when it starts with a quote, its first word.
std::string IntendedProgram(const std::string& batchPath);

} // namespace zelmora
