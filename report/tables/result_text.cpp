#include "report/tables/result_text.h"

#include "project/number_forms.h"

namespace zelmora {

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
