#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zelmora {

// The most lines of a failing run's calculator output that its error shows.
inline constexpr std::size_t ShownOutputLines = 5;

// The length of the calculator's log before a run starts: what the run writes comes after it.
// 0 when there is no log yet or no path.
std::uintmax_t CalculatorLogLength(const std::string& logPath);

// The last lines, at most `count`, written to the log from `start` on, without their line ends;
// blank lines at the end are left out, and each line is shown as ShownText shows it. Nothing when
// the log cannot be read.
std::vector<std::string> LastOutputLines(const std::string& logPath, std::uintmax_t start,
                                         std::size_t count = ShownOutputLines);

// The calculator's own reason among its last lines: the last that holds "error", "unknown",
// "cannot" or "must" in any case, without its surrounding blanks. Nothing when none does.
std::optional<std::string> CalculatorReason(const std::vector<std::string>& lines);

} // namespace zelmora
