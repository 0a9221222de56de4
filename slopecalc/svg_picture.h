#pragma once

#include "slopecalc/model.h"
#include "slopecalc/search.h"

#include <string>

namespace slopecalc {

// The soils in colour, the water line, the critical circle with its slices and the safety
// factor as a caption.
std::string DrawSvg(const Model& model, const StageResult& final);

} // namespace slopecalc
