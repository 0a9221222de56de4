#pragma once

#include "analysis/methods/derived_results.h"

#include <string>
#include <vector>

namespace zelmora {

// Rows of texts under a header, as a window, a page and a spreadsheet show them alike.
struct TextTable {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
};

// The random variables with their results, sorted by share, largest first.
TextTable SensitivityTable(const DerivedResults& results);

// One line per row, header first, cells apart by tabs, lines ended by "\n".
std::string TabSeparated(const TextTable& table);

} // namespace zelmora
