#include "cli/correlation_argument.h"

#include "project/errors.h"
#include "project/project_state.h"

#include <algorithm>
#include <optional>
#include <string_view>

namespace zelmora::batch {

namespace {

bool Digits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "ROW:phi" or "ROW:cohesion" with a row of the soil table written without leading zeros.
std::optional<int> StrengthOf(std::string_view side) {
    const std::size_t colon = side.find(':');
    if (colon == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view row = side.substr(0, colon);
    const std::string_view parameter = side.substr(colon + 1);
    if (!Digits(row) || row.size() > 2 || row.front() == '0' ||
        (parameter != "phi" && parameter != "cohesion")) {
        return std::nullopt;
    }
    const int number = std::stoi(std::string(row));
    if (number > SoilRowCount) {
        return std::nullopt;
    }
    return StrengthId(number, parameter == "phi");
}

// A decimal number with an optional sign and point: "-0.5", "+.3", "1".
bool IsDecimalNumber(std::string_view text) {
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        text.remove_prefix(1);
    }
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    const bool wholeOk = whole.empty() || Digits(whole);
    const bool fractionOk = fraction.empty() || Digits(fraction);
    return wholeOk && fractionOk && !(whole.empty() && fraction.empty());
}

} // namespace

StrengthCorrelation ParseCorrelationArgument(const std::string& text) {
    const std::size_t comma = text.find(',');
    const std::size_t equals = text.find('=');
    std::optional<int> a;
    std::optional<int> b;
    bool rho = false;
    if (comma != std::string::npos && equals != std::string::npos && comma < equals) {
        a = StrengthOf(std::string_view(text).substr(0, comma));
        b = StrengthOf(std::string_view(text).substr(comma + 1, equals - comma - 1));
        rho = IsDecimalNumber(std::string_view(text).substr(equals + 1));
    }
    if (!a || !b || !rho) {
        throw Error("--correlation: \"" + text +
                    "\" is not ROW:phi|cohesion,ROW:phi|cohesion=RHO with a row of 1 to " +
                    std::to_string(SoilRowCount));
    }
    return {*a, *b, std::stod(text.substr(equals + 1))};
}

} // namespace zelmora::batch
