#pragma once

#include "report/tables/sensitivity_table.h"

#include <string>

namespace zelmora::ui {

// " (clayey sand)" for a soil row the study names, empty for one it does not; its controls are
// shown as "?".
std::string SetNameSuffix(int row);

// The table with the study's set names after what names a soil row's variable: the row number
// in a "Row" column, a variable's label ("Row 1 φ, set 1") in a "Variable" column.
TextTable WithSetNames(TextTable table);

} // namespace zelmora::ui
