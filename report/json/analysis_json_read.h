#pragma once

#include "analysis/analysis_record.h"

#include <string>

namespace zelmora {

// What AnalysisJson wrote back as a record, for showing an analysis of an earlier session again:
// its parallel runs, the runs applied, the correlations in use, the error and the method's
// result and the calculator's pictures. The command line and the kept work folder are not in
// the JSON and stay empty. Throws nlohmann's exceptions for text that is not such JSON.
AnalysisRecord RecordFromAnalysisJson(const std::string& text);

} // namespace zelmora
