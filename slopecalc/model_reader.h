#pragma once

#include "slopecalc/model.h"

#include <string>
#include <string_view>

namespace slopecalc {

// Reads and checks a model; throws InputError naming the line at the first fault.
Model ParseModel(std::string_view text);

Model ReadModelFile(const std::string& path);

} // namespace slopecalc
