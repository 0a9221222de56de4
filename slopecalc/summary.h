#pragma once

#include "slopecalc/data_paths.h"
#include "slopecalc/modification.h"
#include "slopecalc/search.h"

#include <string>
#include <vector>

namespace slopecalc {

// The short report on standard output.
std::string FormatSummary(const std::string& modelPath, const DataPaths& paths, const Model& model,
                          const std::vector<Modification>& modifications,
                          const std::vector<StageResult>& stages);

} // namespace slopecalc
