#pragma once

#include "analysis/methods/derived_results.h"
#include "project/value_text.h"

#include <optional>
#include <string>

namespace zelmora {

// The share in percent with one decimal, negative when the sensitivity is.
std::string ShareText(const VariableResult& variable);

// "φ" or "c".
std::string ParameterSymbol(Parameter parameter);

// "Row 2 φ, set 5": what the variable is, as the engineer knows it.
std::string VariableLabel(const VariableResult& variable);

} // namespace zelmora
