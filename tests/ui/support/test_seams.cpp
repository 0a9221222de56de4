#include "support/test_seams.h"

#include "project/project_state.h"

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

void ResetProjectState() {
    State = {};
    SetDefaults();
}

} // namespace zelmora::ui::test
