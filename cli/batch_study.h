#pragma once

#include "analysis/analysis_record.h"
#include "cli/batch_command.h"
#include "study/study.h"

#include <string>

namespace zelmora::batch {

// Writes a note about the study file to standard error; nothing for an empty one.
void PrintStudyNote(const std::string& note);

// The study's sign-off with the texts the command line gave in their places.
SignOff SignOffForRun(const SignOff& study, const BatchOptions& options);

// The study of the project file just read, with this run's method and strengths where the
// command line gives them; a note about the study goes to standard error. A study file that
// cannot be read is refused.
Study StudyForRun(const BatchOptions& options);

// Saves the study with the settings used and the analysis's JSON, then the project file.
void SaveStudy(const std::string& projectFile, Study study, const AnalysisRecord& record);

} // namespace zelmora::batch
