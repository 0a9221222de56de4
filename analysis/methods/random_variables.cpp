#include "analysis/methods/random_variables.h"

#include "project/number_forms.h"
#include "project/project_state.h"

namespace zelmora {

RandomVariable VariableOf(int id) {
    const bool friction = id <= SoilRowCount;
    const int row = friction ? id : id - SoilRowCount;
    const SoilSet& soil = Row(State, row);
    return {id,
            row,
            soil.SetNumber,
            friction,
            friction ? soil.PhiMean : soil.CohesionMean,
            friction ? soil.PhiStdDev : soil.CohesionStdDev};
}

std::vector<int> RandomVariables() {
    std::vector<int> variables;
    for (int r = 1; r <= SoilRowCount; ++r) {
        if (Row(State, r).PhiStdDev > 0) {
            variables.push_back(r);
        }
    }
    for (int r = 1; r <= SoilRowCount; ++r) {
        if (Row(State, r).CohesionStdDev > 0) {
            variables.push_back(SoilRowCount + r);
        }
    }
    return variables;
}

std::vector<RandomVariable> ListedVariables() {
    std::vector<RandomVariable> variables;
    for (int i = 1; i <= State.VariableCount; ++i) {
        variables.push_back(VariableOf(Entry(State.Variables, i)));
    }
    return variables;
}

std::string Describe(const RandomVariable& variable) {
    return std::string(variable.friction ? "the friction angle" : "the cohesion") + " of row " +
           FormatInteger(variable.row, 0) + " (set " + FormatInteger(variable.setNumber, 0) + ")";
}

} // namespace zelmora
