#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zelmora {

// The most lines of a failing run's calculator output that its error shows.
inline constexpr std::size_t ShownOutputLines = 5;

// The length of the calculator's log before a run starts: what the run writes comes after it.
// 0 when there is no log yet or no path.
std::uintmax_t CalculatorLogLength(const std::string& logPath);

// The last lines, at most `count`, written to the log from `start` on, without their line ends;
// blank lines at the end are left out and a very long line is cut. Nothing when the log cannot
// be read.
std::vector<std::string> LastOutputLines(const std::string& logPath, std::uintmax_t start,
                                         std::size_t count = ShownOutputLines);

} // namespace zelmora
