#include "report/tables/result_text.h"

#include "project/number_forms.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace zelmora {

namespace {

std::string Superscript(int number) {
    static const char* const digits[] = {"⁰", "¹", "²", "³", "⁴", "⁵", "⁶", "⁷", "⁸", "⁹"};
    std::string text = number < 0 ? "⁻" : "";
    for (const char digit : std::to_string(std::abs(number))) {
        text += digits[digit - '0'];
    }
    return text;
}

} // namespace

std::string DecimalProbabilityText(std::optional<double> value) {
    if (!value) {
        return NoValue;
    }
    if (*value == 0) {
        return "0";
    }
    // The exponent after rounding to three figures: 0.0009996 is 1.00 × 10⁻³.
    char scientific[32];
    std::snprintf(scientific, sizeof scientific, "%.2e", *value);
    const std::string text = scientific;
    const std::size_t e = text.find('e');
    const int exponent = std::stoi(text.substr(e + 1));
    if (exponent < -3) {
        return text.substr(0, e) + " × 10" + Superscript(exponent);
    }
    char decimal[48];
    std::snprintf(decimal, sizeof decimal, "%.*f", exponent < 2 ? 2 - exponent : 0, *value);
    return decimal;
}

std::string ShareText(const VariableResult& variable) {
    if (!variable.share) {
        return NoValue;
    }
    const double percent = *variable.share * 100;
    return FormatFixed(variable.sensitivity.value_or(0) < 0 ? -percent : percent, 0, 1);
}

std::string ParameterSymbol(Parameter parameter) {
    return parameter == Parameter::FrictionAngle ? "φ" : "c";
}

std::string VariableLabel(const VariableResult& variable) {
    return "Row " + FormatInteger(variable.row, 0) + " " + ParameterSymbol(variable.parameter) +
           ", set " + FormatInteger(variable.setNumber, 0);
}

} // namespace zelmora
