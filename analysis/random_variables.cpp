#include "analysis/random_variables.h"

#include "project/project_state.h"

namespace zelmora {

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

} // namespace zelmora
