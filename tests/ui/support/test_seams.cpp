#include "support/test_seams.h"

#include "project/project_state.h"
#include "study/study.h"

namespace zelmora::ui::test {

RecordingMessageBoxes::RecordingMessageBoxes() {
    InstallMessageBoxes(this);
}

RecordingMessageBoxes::~RecordingMessageBoxes() {
    InstallMessageBoxes(nullptr);
}

MessageAnswer RecordingMessageBoxes::Show(MessageKind kind, const QString& text,
                                          MessageButtons buttons) {
    boxes.append({kind, text, buttons});
    if (buttons == MessageButtons::Ok)
        return MessageAnswer::Ok;
    return answers.isEmpty() ? MessageAnswer::Yes : answers.dequeue();
}

void RecordingMessageBoxes::ShowDetailed(MessageKind kind, const QString& text,
                                         const QString& detail) {
    boxes.append({kind, text, MessageButtons::Ok, detail});
}

ScriptedFileDialogs::ScriptedFileDialogs() {
    InstallFileDialogScript(this);
}

ScriptedFileDialogs::~ScriptedFileDialogs() {
    InstallFileDialogScript(nullptr);
}

bool ScriptedFileDialogs::Answer(const FileDialog& dialog, QString& chosen) {
    dialogs.append({dialog.mode, dialog.fileName, dialog.filters});
    const std::optional<QString> answer = answers.isEmpty() ? std::nullopt : answers.dequeue();
    if (!answer)
        return false;
    chosen = *answer;
    return true;
}

namespace {

bool SameRow(const SoilSet& a, const SoilSet& b) {
    return a.SetNumber == b.SetNumber && a.PhiMean == b.PhiMean && a.PhiStdDev == b.PhiStdDev &&
           a.CohesionMean == b.CohesionMean && a.CohesionStdDev == b.CohesionStdDev;
}

} // namespace

void ResetProjectState() {
    State = {};
    ProjectStudy = {};
    SetDefaults();
}

bool SameProjectState(const ProjectState& a, const ProjectState& b) {
    for (int r = 1; r <= SoilRowCount; ++r)
        if (!SameRow(Row(a, r), Row(b, r)))
            return false;
    return a.Variables == b.Variables && a.SafetyFactors == b.SafetyFactors &&
           a.Sensitivities == b.Sensitivities && a.VariableCount == b.VariableCount &&
           a.LastSafetyFactor == b.LastSafetyFactor &&
           a.FailureProbability == b.FailureProbability && a.Beta == b.Beta &&
           a.Linearity == b.Linearity && a.StepSize == b.StepSize && a.BatchPath == b.BatchPath &&
           a.ProjectPath == b.ProjectPath && a.ProjectName == b.ProjectName &&
           a.ResultFilePath == b.ResultFilePath &&
           a.ModificationFilePath == b.ModificationFilePath &&
           a.ShowCalculations == b.ShowCalculations && a.CurrentFileName == b.CurrentFileName;
}

} // namespace zelmora::ui::test
