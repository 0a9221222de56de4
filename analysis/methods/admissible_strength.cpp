#include "analysis/methods/admissible_strength.h"

#include "analysis/coupling/written_value.h"
#include "project/number_forms.h"

namespace zelmora {

bool AdmissibleStrength(const RandomVariable& variable, double value) {
    if (!variable.friction) {
        return value >= 0;
    }
    if (!(value > 0 && value < 90)) {
        return false;
    }
    const double sine = WrittenValue(SineOfDegrees(value));
    return sine > 0 && sine < 1;
}

const RandomVariable* FirstInadmissible(const std::vector<RandomVariable>& variables,
                                        const std::vector<double>& values, std::size_t& position) {
    for (position = 0; position < variables.size(); ++position) {
        if (!AdmissibleStrength(variables[position], values[position])) {
            return &variables[position];
        }
    }
    return nullptr;
}

std::string InadmissibleText(const RandomVariable& variable, double value,
                             StrengthDistribution strengths) {
    std::string text = Describe(variable) + " of " + FormatFixed(value, 0, 4) +
                       (variable.friction ? " degrees, whose sine the calculator cannot take"
                                          : ", below 0, which the calculator cannot take");
    if (strengths == StrengthDistribution::Normal) {
        text += "; lognormal strengths keep the strengths above 0";
    }
    return text;
}

} // namespace zelmora
