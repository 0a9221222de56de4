#pragma once

#include "calculator/data_paths.h"
#include "calculator/modification.h"
#include "calculator/search.h"

#include <string>
#include <vector>

namespace slopecalc {

// The short report on standard output.
std::string FormatSummary(const std::string& modelPath, const DataPaths& paths, const Model& model,
                          const std::vector<Modification>& modifications,
                          const std::vector<StageResult>& stages);

} // namespace slopecalc
