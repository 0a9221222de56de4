#pragma once

#include "report/tables/reliability_summary.h"
#include "report/tables/sensitivity_table.h"

#include <string>
#include <utility>
#include <vector>

namespace zelmora {

// The table as an HTML <table>: every text escaped, a "\n" in a cell a line break; the
// columns marked in `numeric` right-aligned.
std::string HtmlTable(const TextTable& table, const std::vector<bool>& numeric);

// Captions beside their values, as a table of class "facts"; the values in `valueClass`.
using Facts = std::vector<std::pair<std::string, std::string>>;
std::string FactsTable(const Facts& facts, const std::string& valueClass);
std::string FactsTable(const std::vector<SummaryLine>& lines, const std::string& valueClass);

} // namespace zelmora
