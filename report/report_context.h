#pragma once

#include "analysis/analysis_record.h"
#include "report/report_study.h"

#include <ctime>
#include <string>

namespace zelmora {

// Everything a section of the report is made from.
struct ReportContext {
    std::string projectFile;
    const AnalysisRecord* record; // nullptr for a project read from a file
    std::time_t writtenAt;
    ReportStudy study;
    std::string analysisJson; // the analysis as AnalysisJson writes it
};

} // namespace zelmora
