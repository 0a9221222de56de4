#include "cli/batch_study.h"

#include "analysis/methods/correlation_check.h"
#include "project/project_state.h"
#include "project/terminal_text.h"
#include "report/json/analysis_json.h"
#include "study/study_file.h"

#include <algorithm>
#include <cstdio>

namespace zelmora::batch {

void PrintStudyNote(const std::string& note) {
    if (!note.empty()) {
        std::fprintf(stderr, "%s\n", TerminalText(note).c_str());
    }
}

namespace {

bool SamePair(const StrengthCorrelation& x, const StrengthCorrelation& y) {
    return (x.a == y.a && x.b == y.b) || (x.a == y.b && x.b == y.a);
}

// Stored pairs of strengths no longer random are left out, saying so; the command line's pairs
// replace the stored pair of the same two strengths or join them.
Correlations PairsForRun(const Correlations& stored, const Correlations& given) {
    std::string leftOut;
    Correlations pairs = PairsOfRandomStrengths(stored, State.SoilTable, leftOut);
    if (!leftOut.empty()) {
        leftOut.pop_back();
        PrintStudyNote(leftOut);
    }
    for (const StrengthCorrelation& pair : given) {
        const auto same = std::find_if(pairs.begin(), pairs.end(),
                                       [&pair](const auto& kept) { return SamePair(kept, pair); });
        if (same == pairs.end()) {
            pairs.push_back(pair);
        } else {
            *same = pair;
        }
    }
    return pairs;
}

} // namespace

SignOff SignOffForRun(const SignOff& study, const BatchOptions& options) {
    return {options.job.value_or(study.job), options.client.value_or(study.client),
            options.preparedBy.value_or(study.preparedBy),
            options.checkedBy.value_or(study.checkedBy)};
}

Study StudyForRun(const BatchOptions& options) {
    OpenedStudy opened = ReadStudyOf(options.projectFile);
    RefuseUnreadableStudy(options.projectFile, opened);
    PrintStudyNote(opened.note);
    StudySettings& settings = opened.study.settings;
    settings.method = options.method.value_or(settings.method);
    settings.strengths = options.strengths.value_or(settings.strengths);
    settings.correlations = PairsForRun(settings.correlations, options.correlations);
    settings.sampling.kind = options.samplingKind.value_or(settings.sampling.kind);
    settings.sampling.samples = options.samples.value_or(settings.sampling.samples);
    settings.sampling.targetCov = options.targetCov.value_or(settings.sampling.targetCov);
    settings.sampling.seed = options.seed.value_or(settings.sampling.seed);
    settings.sampling.batch = options.batch.value_or(settings.sampling.batch);
    settings.sampling.maxRuns = options.maxRuns.value_or(settings.sampling.maxRuns);
    settings.targetBeta = options.targetBeta.value_or(settings.targetBeta);
    settings.signOff = SignOffForRun(settings.signOff, options);
    return opened.study;
}

void SaveStudy(const std::string& projectFile, Study study, const AnalysisRecord& record) {
    study.analysisJson = AnalysisJson(projectFile, State, record);
    PrintStudyNote(SaveStudyAndProject(projectFile, study));
}

} // namespace zelmora::batch
