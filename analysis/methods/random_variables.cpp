#include "analysis/methods/random_variables.h"

#include "project/number_forms.h"

namespace zelmora {

RandomVariable VariableOf(const SoilRows& soil, int id) {
    const bool friction = id <= SoilRowCount;
    const int row = VariableRow(id);
    const SoilSet& set = SoilRow(soil, row);
    return {id,
            row,
            set.SetNumber,
            friction,
            friction ? set.PhiMean : set.CohesionMean,
            friction ? set.PhiStdDev : set.CohesionStdDev};
}

std::vector<RandomVariable> ListedVariables(const AnalysisInputs& inputs) {
    std::vector<RandomVariable> variables;
    for (const int id : inputs.variables) {
        variables.push_back(VariableOf(inputs.soil, id));
    }
    return variables;
}

std::string Describe(const RandomVariable& variable) {
    return std::string(variable.friction ? "the friction angle" : "the cohesion") + " of row " +
           FormatInteger(variable.row, 0) + " (set " + FormatInteger(variable.setNumber, 0) + ")";
}

} // namespace zelmora
