#pragma once

#include "analysis/analysis_record.h"
#include "project/project_state.h"
#include "report/report_study.h"

#include <ctime>
#include <string>

namespace zelmora {

// Everything a section of the report is made from.
struct ReportContext {
    std::string projectFile;
    const ProjectState& project;
    const AnalysisRecord* record; // nullptr for a project read from a file
    std::time_t writtenAt;
    ReportStudy study;
};

} // namespace zelmora
