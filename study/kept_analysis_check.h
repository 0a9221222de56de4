#pragma once

#include "project/project_state.h"

#include <string>

namespace zelmora {

// Whether what a kept analysis (its JSON, as zelmora-batch --json writes it) lets one derive
// agrees with what it holds: its first-order safety factors, β, probability and linearity with
// the project file's own lines, in the file's text form; FORM's β with the length of its design
// point in standard normal space and its probability with β; a sampling estimate with its
// counts. This finds edits and corruption, not a forgery that is consistent throughout.
bool KeptAnalysisAgrees(const std::string& analysisJson, const ProjectState& project);

} // namespace zelmora
