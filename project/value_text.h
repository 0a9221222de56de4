#pragma once

#include <optional>
#include <string>

namespace zelmora {

// The text of a value that does not exist.
inline constexpr const char* NoValue = "—";

// Four decimals without padding, as the log's numbers read once their blanks are gone.
std::string FixedText(std::optional<double> value, int decimals = 4);

// The output window's scientific form of a probability, without its leading blank.
std::string ProbabilityText(std::optional<double> value);

} // namespace zelmora
