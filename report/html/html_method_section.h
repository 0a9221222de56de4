#pragma once

#include "analysis/analysis_record.h"
#include "analysis/coupling/analysis_inputs.h"

#include <string>

namespace zelmora {

// The report's section of the method that ran after the first-order analysis: its heading
// (which says when FORM did not converge), β and its probabilities, what it cost, the table of
// shares or of the design point and, for FORM, the chart of β by iteration. Every text escaped.
// Empty without a record or without a method in it. The variables are named from the soil rows.
std::string MethodSectionHtml(const AnalysisRecord* record, const SoilRows& soil);

} // namespace zelmora
