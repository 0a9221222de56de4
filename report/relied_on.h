#pragma once

#include "analysis/analysis_record.h"

#include <optional>
#include <string>

namespace zelmora {

// The probability of failure an analysis is judged by, and the method it comes from.
struct ReliedOn {
    std::string method; // "first-order", "taylor", "form", "importance", "monte-carlo"
    double probability = 0;
    double beta = 0;         // -Φ⁻¹(probability)
    bool upperBound = false; // the samples not run counted as failures
    std::string why;         // one sentence
};

// The conservative number of an analysis, in this order: a sampling check that stopped by its
// target, its upper bound when any sample was not run, else its estimate; FORM when it
// converged and no sampling check disagrees with it; the Taylor series; first order, whose β
// and exact probability `firstOrderBeta` and `firstOrderProbability` give. None when no method
// gave a finite β.
std::optional<ReliedOn> ReliedOnIn(std::optional<double> firstOrderBeta,
                                   std::optional<double> firstOrderProbability,
                                   const AnalysisRecord& record);

} // namespace zelmora
