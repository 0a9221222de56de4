#pragma once

#include "analysis/analysis_record.h"
#include "project/project_state.h"

#include <string>

namespace zelmora {

// Every run of the analysis and every sample, for a spreadsheet: a header row, then one row each
// in plan order, an inadmissible sample at its place among the samples. Columns: run (the
// JSON's run_id, a sample's FirstSampleRunId + its number), kind (standard, mean, reduced,
// all-reduced, taylor, form, design-point, sample), one per random strength named as in the
// JSON ("row1_phi" in degrees, "row1_cohesion" in kN/m², empty where the run wrote none), F with
// 4 decimals (empty without a result), failed ("yes", "no" or "inadmissible") and reused.
std::string RunsCsv(const ProjectState& project, const AnalysisRecord& record);

} // namespace zelmora
