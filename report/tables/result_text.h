#pragma once

#include "analysis/methods/derived_results.h"
#include "project/value_text.h"

#include <optional>
#include <string>

namespace zelmora {

// How a table writes a probability: the windows in the output window's scientific form, the
// report as a decimal.
using ProbabilityForm = std::string (*)(std::optional<double>);

// A probability with three significant figures as a decimal ("0.0330"), below 0.001 as a power
// of ten ("3.30 × 10⁻⁴"); zero as "0", none as "—".
std::string DecimalProbabilityText(std::optional<double> value);

// The share in percent with one decimal, negative when the sensitivity is.
std::string ShareText(const VariableResult& variable);

// "φ" or "c".
std::string ParameterSymbol(Parameter parameter);

// "Row 2 φ, set 5": what the variable is, as the engineer knows it.
std::string VariableLabel(const VariableResult& variable);

} // namespace zelmora
