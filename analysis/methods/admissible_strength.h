#pragma once

#include "analysis/methods/method_result.h"
#include "analysis/methods/random_variables.h"

#include <string>
#include <vector>

namespace zelmora {

// Whether the calculator takes the value written for a physical strength: a cohesion of 0 or
// more, a friction angle whose written sine lies strictly between 0 and 1.
bool AdmissibleStrength(const RandomVariable& variable, double value);

// The first variable whose value is not admissible, or none.
const RandomVariable* FirstInadmissible(const std::vector<RandomVariable>& variables,
                                        const std::vector<double>& values, std::size_t& position);

// "the cohesion of row 1 (set 1) of -0.3570, below 0, which the calculator cannot take" and the
// suggestion of lognormal strengths while normal ones are in use.
std::string InadmissibleText(const RandomVariable& variable, double value,
                             StrengthDistribution strengths);

} // namespace zelmora
