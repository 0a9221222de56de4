#include "app/mnu_main.h"
#include "project/project_state.h"
#include "report/json/analysis_json.h"
#include "report/json/analysis_json_read.h"
#include "study/study_file.h"
#include "ui/mnu_out.h"
#include "ui/mnu_sens.h"
#include "ui/scr_calc.h"

namespace zelmora::ui {

void TMainForm::OpenStudy(const std::string& projectFile) {
    const OpenedStudy opened = ReadStudyOf(projectFile);
    ProjectStudy = opened.study;
    const std::string& analysis = ProjectStudy.analysisJson;
    LastAnalysis = analysis.empty() ? AnalysisRecord{} : RecordFromAnalysisJson(analysis);
    // Without a kept analysis the results come from the file alone.
    windows.out->Sensitivity->Record = analysis.empty() ? nullptr : &LastAnalysis;
    windows.calc->ShowMethodProbability(LastAnalysis.method);
    windows.calc->ClearNotes();
    if (!opened.note.empty()) {
        windows.calc->ShowNote(opened.note);
    }
}

// A failed analysis leaves no method's probability beside the first-order one.
void TMainForm::KeepAnalysisInStudy() {
    windows.out->Sensitivity->Record = &LastAnalysis;
    windows.calc->ShowMethodProbability(LastAnalysis.error.empty() ? LastAnalysis.method
                                                                   : std::nullopt);
    ProjectStudy.analysisJson = AnalysisJson(State.CurrentFileName, State, LastAnalysis);
}

void TMainForm::ShowSaveNote(const std::string& note) {
    if (!note.empty()) {
        windows.calc->ShowNote(note);
    }
}

} // namespace zelmora::ui
