#include "cli/batch_study.h"

#include "report/analysis_json.h"
#include "study/study_file.h"

#include <cstdio>

namespace zelmora::batch {

void PrintStudyNote(const std::string& note) {
    if (!note.empty()) {
        std::fprintf(stderr, "%s\n", note.c_str());
    }
}

Study StudyForRun(const BatchOptions& options) {
    OpenedStudy opened = ReadStudyOf(options.projectFile);
    PrintStudyNote(opened.note);
    StudySettings& settings = opened.study.settings;
    settings.method = options.method.value_or(settings.method);
    settings.strengths = options.strengths.value_or(settings.strengths);
    return opened.study;
}

void SaveStudy(const std::string& projectFile, Study study, const AnalysisRecord& record) {
    study.analysisJson = AnalysisJson(projectFile, record);
    SaveStudyAndProject(projectFile, study);
}

} // namespace zelmora::batch
