#pragma once

#include "analysis/sensitivity_table.h"

#include <string>
#include <vector>

namespace zelmora {

// The table as an HTML <table>: every text escaped, a "\n" in a cell a line break; the
// columns marked in `numeric` right-aligned.
std::string HtmlTable(const TextTable& table, const std::vector<bool>& numeric);

} // namespace zelmora
