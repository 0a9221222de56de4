#pragma once

#include "analysis/derived_results.h"

#include <optional>
#include <string>

namespace zelmora {

// The text of a value that does not exist.
inline constexpr const char* NoValue = "—";

// Four decimals without padding, as the log's numbers read once their blanks are gone.
std::string FixedText(std::optional<double> value, int decimals = 4);

// The output window's scientific form of a probability, without its leading blank.
std::string ProbabilityText(std::optional<double> value);

// The share in percent with one decimal, negative when the sensitivity is.
std::string ShareText(const VariableResult& variable);

// "φ" or "c".
std::string ParameterSymbol(Parameter parameter);

// "Row 2 φ, set 5": what the variable is, as the engineer knows it.
std::string VariableLabel(const VariableResult& variable);

} // namespace zelmora
