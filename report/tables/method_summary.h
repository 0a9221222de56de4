#pragma once

#include "analysis/methods/method_result.h"
#include "report/tables/reliability_summary.h"
#include "report/tables/sensitivity_table.h"

#include <string>
#include <vector>

namespace zelmora {

// "Taylor series" or "FORM with normal strengths", with ": not converged" after a FORM that did
// not converge: the heading of the method wherever it is shown.
std::string MethodHeading(const MethodResult& method);

// What the method is, in a line; for a FORM that did not converge, that its β is the last
// iteration's.
std::string MethodNote(const MethodResult& method);

// β, its probabilities and what the method cost, as the window and the report show them.
std::vector<SummaryLine> MethodSummary(const MethodResult& method,
                                       ProbabilityForm probability = ProbabilityText);

// Taylor: each variable's central sensitivity, curvature and share of the variance; FORM: the
// design point with each variable's mean, design value, α and α². Largest share first, list
// order where shares tie. The variables are named from the soil rows.
TextTable MethodTable(const MethodResult& method, const SoilRows& soil);

// The columns of MethodTable that hold numbers.
std::vector<bool> MethodTableNumeric(const MethodResult& method);

} // namespace zelmora
