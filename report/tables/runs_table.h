#pragma once

#include "analysis/analysis_record.h"
#include "report/tables/sensitivity_table.h"

namespace zelmora {

// The runs of the project's analysis in plan order (standard, mean values, each variable
// reduced, all reduced): what was reduced, the values written for it (a friction angle as its
// sine), the safety factor. With the record of an analysis run in this process also each run's
// exit status (a reused run says so there) and seconds; a run it did not reach shows "—" there and
// as its safety factor.
TextTable RunsTable(const ProjectState& project, const AnalysisRecord* record);

// The runs a further method (not the sampling check) added, in the order they were applied,
// numbered from 1: the values each wrote, its safety factor, exit status and seconds. The values
// name the soil rows' sets.
TextTable MethodRunsTable(const AnalysisRecord& record, const SoilRows& soil);

// The sampling check's runs, one line each: the sample's number, the values written in short
// ("sin φ1 0.4067 (24.0°)" for row 1), the safety factor and whether F < 1; a failed run says so.
TextTable SamplingRunsTable(const AnalysisRecord& record, const SoilRows& soil);

} // namespace zelmora
