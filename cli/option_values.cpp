#include "cli/option_values.h"

#include "project/joined_text.h"
#include "project/terminal_text.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <optional>

namespace zelmora::batch {

namespace {

constexpr Method Methods[] = {Method::FirstOrder, Method::Taylor, Method::Form};

std::string Lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

int CountOption(const std::string& option, const std::string& text, int least, int most) {
    const std::string range = std::to_string(least) + " to " + std::to_string(most);
    const bool digits = !text.empty() && std::all_of(text.begin(), text.end(),
                                                     [](char c) { return c >= '0' && c <= '9'; });
    if (!digits) {
        throw CLI::ValidationError(option, "\"" + TerminalText(text) +
                                               "\" is not a whole number in decimal digits (" +
                                               range + ")");
    }
    long long value = 0;
    for (const char c : text) {
        value = std::min<long long>(value * 10 + (c - '0'), static_cast<long long>(most) + 1);
    }
    if (value < least || value > most) {
        throw CLI::ValidationError(option, TerminalText(text) + " is not within " + range);
    }
    return static_cast<int>(value);
}

namespace {

// Digits with at most one decimal point and at least one digit: no sign, blank, exponent or
// base prefix, so that strtod reads exactly them.
std::optional<double> DecimalValue(const std::string& text) {
    const std::size_t point = text.find('.');
    const std::string digits =
        point == std::string::npos ? text : text.substr(0, point) + text.substr(point + 1);
    const bool decimal = !digits.empty() && std::all_of(digits.begin(), digits.end(), [](char c) {
        return c >= '0' && c <= '9';
    });
    if (!decimal) {
        return std::nullopt;
    }
    return std::strtod(text.c_str(), nullptr);
}

} // namespace

double FractionOption(const std::string& option, const std::string& text) {
    const std::optional<double> value = DecimalValue(text);
    if (!value || !(*value > 0 && *value < 1)) {
        throw CLI::ValidationError(option, "\"" + TerminalText(text) +
                                               "\" is not a decimal number between 0 and 1");
    }
    return *value;
}

double PositiveDecimalOption(const std::string& option, const std::string& text, double most) {
    const std::optional<double> value = DecimalValue(text);
    if (!value || !(*value > 0 && *value <= most)) {
        throw CLI::ValidationError(option, "\"" + TerminalText(text) +
                                               "\" is not a decimal number above 0 and up to " +
                                               std::to_string(static_cast<int>(most)));
    }
    return *value;
}

std::uint64_t SeedOption(const std::string& option, const std::string& text) {
    constexpr std::uint64_t Most = UINT64_MAX;
    const bool digits = !text.empty() && std::all_of(text.begin(), text.end(),
                                                     [](char c) { return c >= '0' && c <= '9'; });
    std::uint64_t value = 0;
    bool within = digits;
    for (const char c : text) {
        const auto digit = static_cast<std::uint64_t>(c - '0');
        within = within && value <= (Most - digit) / 10;
        value = within ? value * 10 + digit : 0;
    }
    if (!within) {
        throw CLI::ValidationError(option, "\"" + TerminalText(text) +
                                               "\" is not a whole number in decimal digits "
                                               "(0 to 18446744073709551615)");
    }
    return value;
}

Method MethodOption(const std::string& text) {
    std::string names;
    for (const Method method : Methods) {
        if (Lowered(text) == MethodName(method)) {
            return method;
        }
        AppendJoined(names, ", ", MethodName(method));
    }
    throw CLI::ValidationError("--method", "unknown method \"" + TerminalText(text) +
                                               "\"; the methods are " + names);
}

} // namespace zelmora::batch
