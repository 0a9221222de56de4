#pragma once

#include <vector>

namespace zelmora {

// The VariableIds the soil table of State makes, in list order: the friction angle of every
// row whose deviation is above 0, then the cohesion of every such row, each in row order.
// Reads the table only, so it also serves a project read from a file.
std::vector<int> RandomVariables();

} // namespace zelmora
