#pragma once

#include "analysis/methods/method_result.h"

#include <cstdint>
#include <string>

namespace zelmora::batch {

// The value of a numeric option, read by us from its text: decimal digits only, so no sign,
// blank, exponent or base prefix ("010" is 10), within least..most. Throws CLI::ValidationError
// naming the option otherwise.
int CountOption(const std::string& option, const std::string& text, int least, int most);

// A number strictly between 0 and 1 in decimal digits with one decimal point ("0.1", ".05"),
// nothing else. Throws CLI::ValidationError naming the option otherwise.
double FractionOption(const std::string& option, const std::string& text);

// A whole number 0..2⁶⁴ - 1 in decimal digits only. Throws CLI::ValidationError naming the
// option otherwise.
std::uint64_t SeedOption(const std::string& option, const std::string& text);

// The value of a decimal option such as --target-beta 3.5: digits with at most one point, no
// sign, blank or exponent, above 0 and up to `most`. Throws CLI::ValidationError naming the
// option otherwise.
double PositiveDecimalOption(const std::string& option, const std::string& text, double most);

// The method a --method text names, in any case. Throws CLI::ValidationError listing the
// methods by name otherwise.
Method MethodOption(const std::string& text);

} // namespace zelmora::batch
