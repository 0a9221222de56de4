#include "study/study.h"

namespace zelmora {

Study ProjectStudy;

ReportStudy ForReport(const StudySettings& settings) {
    return {settings.targetBeta, settings.setNames, settings.signOff};
}

AnalysisOptions AnalysisOptionsOf(const StudySettings& settings, Correlations correlations) {
    AnalysisOptions options;
    options.method = settings.method;
    options.strengths = settings.strengths;
    options.correlations = std::move(correlations);
    options.sampling = settings.sampling;
    return options;
}

std::string StudyFileName(const std::string& projectFile) {
    constexpr std::string_view ProjectSuffix = ".zmo";
    constexpr std::string_view StudySuffix = ".study.json";
    if (projectFile.ends_with(ProjectSuffix)) {
        return projectFile.substr(0, projectFile.size() - ProjectSuffix.size()) +
               std::string(StudySuffix);
    }
    return projectFile + std::string(StudySuffix);
}

} // namespace zelmora
