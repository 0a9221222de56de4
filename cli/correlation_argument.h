#pragma once

#include "analysis/methods/correlations.h"

#include <string>

namespace zelmora::batch {

// One --correlation: "ROW:phi,ROW:cohesion=RHO", each side "ROW:phi" or "ROW:cohesion" with a
// row of the soil table, 1..10. Throws an Error naming the text when it does not parse; whether
// the strengths are random and ρ lies in (-1, 1) is checked against the project.
StrengthCorrelation ParseCorrelationArgument(const std::string& text);

} // namespace zelmora::batch
