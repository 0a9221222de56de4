#pragma once

#include "analysis/methods/derived_results.h"
#include "report/tables/result_text.h"

#include <string>
#include <vector>

namespace zelmora {

// One line of the reliability figures: a fixed name for programs, a caption and the value.
struct SummaryLine {
    std::string name;
    std::string caption;
    std::string value;
};

// β and its probabilities, β_LN, σ_F, V and the linearity, as the window and the report show
// them. β and the approximated probability are those of the stored β, shown as always.
std::vector<SummaryLine> ReliabilitySummary(const DerivedResults& results, double storedBeta,
                                            ProbabilityForm probability = ProbabilityText);

} // namespace zelmora
