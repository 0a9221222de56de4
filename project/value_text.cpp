#include "project/value_text.h"

#include "project/number_forms.h"

namespace zelmora {

std::string FixedText(std::optional<double> value, int decimals) {
    return value ? FormatFixed(*value, 0, decimals) : NoValue;
}

std::string ProbabilityText(std::optional<double> value) {
    if (!value) {
        return NoValue;
    }
    std::string text = FormatScientific(*value, 12);
    return text.front() == ' ' ? text.substr(1) : text;
}

} // namespace zelmora
