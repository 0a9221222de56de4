#pragma once

#include "analysis/coupling/analysis_inputs.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zelmora {

// One random variable of the soil table. Its VariableId is 1..10 for the friction angle of that
// row, 11..20 for the cohesion of row id - 10.
struct RandomVariable {
    int id = 0;
    int row = 0;
    std::int32_t setNumber = 0;
    bool friction = true;
    double mean = 0;   // degrees or kN/m²
    double stdDev = 0; // likewise
};

// The variable a VariableId names, with its row's values.
RandomVariable VariableOf(const SoilRows& soil, int id);

// The variables of the inputs' variable list, in list order.
std::vector<RandomVariable> ListedVariables(const AnalysisInputs& inputs);

// "the friction angle of row 2 (set 5)" and the like, for messages.
std::string Describe(const RandomVariable& variable);

} // namespace zelmora
