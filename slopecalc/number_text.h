#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace slopecalc {

// A real in point notation: optional sign, digits with an optional point, optional exponent.
// Anything else, and values beyond the range of a double, give no value.
std::optional<double> ParseNumber(std::string_view text);

// A whole number with an optional sign that fits 32 bits.
std::optional<std::int32_t> ParseWholeNumber(std::string_view text);

// Fixed-point text with 17 significant digits: reads back to the same double, also through
// the system's extended-precision parser.
std::string ExactText(double value);

// Fixed-point text with the given number of decimals.
std::string FixedText(double value, int decimals);

// The shortest text that reads back to the same double (for pictures).
std::string ShortText(double value);

} // namespace slopecalc
