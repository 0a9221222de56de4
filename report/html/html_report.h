#pragma once

#include "analysis/analysis_record.h"
#include "project/project_state.h"
#include "report/report_study.h"

#include <ctime>
#include <string>

namespace zelmora {

// The report of a project as one HTML page that needs nothing beside it and runs no
// script: the project, a summary of the methods that ran judged against the target β, the
// soil rows in use, the methods' descriptions, the results in their usual forms, the
// sensitivities with their chart, the section of a further reliability method when the record
// holds one, the calculator's picture of the critical slip surface when the mean-value run left
// one, the runs, and a footer on every printed page. Every text from the project or the calculator
// is escaped, and the page forbids everything but inline styles and data images.
//   projectFile: the project file the project was read from or saved as, shown as given (may be
//                empty);
//   record: what the analysis run in this process did, or nullptr for a project read from a
//           file, whose runs then show their safety factors only;
//   writtenAt: the date and time the page names;
//   study: the study settings the summary and the inputs show.
std::string HtmlReport(const std::string& projectFile, const ProjectState& project,
                       const AnalysisRecord* record, std::time_t writtenAt,
                       const ReportStudy& study = {});

// Writes the page as Save writes a project file: an old file is replaced only by a complete
// new one; failures raise the input/output errors with their messages.
void WriteHtmlReport(const std::string& fileName, const std::string& page);

} // namespace zelmora
