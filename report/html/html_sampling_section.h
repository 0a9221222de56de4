#pragma once

#include "analysis/analysis_record.h"

#include <string>

namespace zelmora {

// The report's section of the sampling check: its heading, the estimate beside the method's
// probability with its interval and bounds, the sentence when failed runs decide the answer,
// and the chart of the estimate by samples; for the surrogate instead the chart of its learning
// and that of its leave-one-out check. Empty without a record or a check in it.
std::string SamplingSectionHtml(const AnalysisRecord* record);

} // namespace zelmora
