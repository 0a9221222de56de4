#include "cli/option_values.h"

#include "project/terminal_text.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>

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

double PositiveDecimalOption(const std::string& option, const std::string& text, double most) {
    const std::size_t point = text.find('.');
    const std::size_t digits = static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }));
    const bool decimal = digits > 0 && digits + (point == std::string::npos ? 0 : 1) == text.size();
    const double value = decimal ? std::stod(text) : 0;
    if (!(value > 0 && value <= most)) {
        throw CLI::ValidationError(option, "\"" + TerminalText(text) +
                                               "\" is not a decimal number above 0 and up to " +
                                               std::to_string(static_cast<int>(most)));
    }
    return value;
}

Method MethodOption(const std::string& text) {
    std::string names;
    for (const Method method : Methods) {
        if (Lowered(text) == MethodName(method)) {
            return method;
        }
        names += (names.empty() ? "" : ", ") + MethodName(method);
    }
    throw CLI::ValidationError("--method", "unknown method \"" + TerminalText(text) +
                                               "\"; the methods are " + names);
}

} // namespace zelmora::batch
