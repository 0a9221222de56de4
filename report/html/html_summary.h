#pragma once

#include "report/methods_that_ran.h"

#include <string>

namespace zelmora {

// The verdict on the β relied on against the target, in one sentence.
std::string Verdict(const MethodsThatRan& ran, double targetBeta);

// The summary of the first page: every method that ran with its β and probability of failure,
// the one relied on marked, the target β, the verdict and the expected performance level, cited.
std::string SummaryHtml(const MethodsThatRan& ran, double targetBeta);

} // namespace zelmora
