#pragma once

#include "analysis/analysis_driver.h"
#include "analysis/methods/correlations.h"
#include "analysis/methods/method_result.h"
#include "analysis/methods/sampling_settings.h"
#include "report/report_study.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace zelmora {

// The largest target β a study takes.
inline constexpr double MostTargetBeta = 10;

// What the 49-line project file cannot hold: the settings of the project's reliability study.
struct StudySettings {
    Method method = Method::FirstOrder;
    StrengthDistribution strengths = StrengthDistribution::Normal;
    Correlations correlations;
    std::map<int, std::string> setNames; // keyed by soil row, 1..10
    SamplingSettings sampling;
    double targetBeta = 3.0; // the β the report judges the one relied on against
    SignOff signOff;         // printed on the report's first page
};

// The study kept beside the project file.
struct Study {
    StudySettings settings;
    // The analysis whose results the project file holds, as zelmora-batch --json writes it;
    // empty when there is none.
    std::string analysisJson;
    // The file as last read, so that keys written by a later version survive a save; empty for
    // a new study.
    std::string readDocument;
};

// The study of the one process-wide project: the defaults at process start.
extern Study ProjectStudy;

// What the report shows of the settings.
ReportStudy ForReport(const StudySettings& settings);

// The options of an analysis that the settings decide: the method, FORM's strengths and the
// sampling check, with `correlations` as the pairs in use; the rest as AnalysisOptions has them.
AnalysisOptions AnalysisOptionsOf(const StudySettings& settings, Correlations correlations);

// The study file's name: a trailing ".zmo" replaced by ".study.json", which is otherwise
// appended.
std::string StudyFileName(const std::string& projectFile);

} // namespace zelmora
