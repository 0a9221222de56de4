#include "cli/correlation_argument.h"

#include "project/errors.h"
#include "project/project_state.h"

#include <regex>

namespace zelmora::batch {

namespace {

int Strength(const std::string& row, const std::string& parameter) {
    return StrengthId(std::stoi(row), parameter == "phi");
}

} // namespace

StrengthCorrelation ParseCorrelationArgument(const std::string& text) {
    static const std::regex pattern(
        R"(^(10|[1-9]):(phi|cohesion),(10|[1-9]):(phi|cohesion)=([-+]?(?:[0-9]+\.?[0-9]*|\.[0-9]+))$)");
    std::smatch match;
    if (!std::regex_match(text, match, pattern)) {
        throw Error("--correlation: \"" + text +
                    "\" is not ROW:phi|cohesion,ROW:phi|cohesion=RHO with a row of 1 to " +
                    std::to_string(SoilRowCount));
    }
    return {Strength(match[1], match[2]), Strength(match[3], match[4]), std::stod(match[5])};
}

} // namespace zelmora::batch
