#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zelmora {

std::string FormatFixed(double value, int width, int decimals);
std::string FormatScientific(double value, int width);
std::string FormatInteger(std::int32_t value, int width);

struct ParsedReal {
    long double value;
    int errorPosition;
};
ParsedReal ParseReal(std::string_view text);

struct ParsedInteger {
    std::int32_t value;
    int errorPosition;
};
ParsedInteger ParseInteger(std::string_view text);

} // namespace zelmora
