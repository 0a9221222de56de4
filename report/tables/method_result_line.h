#pragma once

#include "analysis/methods/method_result.h"
#include "report/tables/result_text.h"

#include <string>

namespace zelmora {

// The method's result in one line under the output window's first-order results:
// "FORM: β 1.6544, probability of failure 4.902E-0002, 4 iterations" (", not converged" after a
// FORM that did not), "Taylor series: β …, probability of failure …".
std::string MethodResultLine(const MethodResult& method);

// The method's probability of failure beside the first-order one: "FORM: 4.902E-0002".
std::string MethodProbabilityLine(const MethodResult& method,
                                  ProbabilityForm probability = ProbabilityText);

} // namespace zelmora
