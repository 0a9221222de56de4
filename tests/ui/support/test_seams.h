#pragma once

#include "ui/file_dialog.h"
#include "ui/message_boxes.h"

#include <QList>
#include <QQueue>
#include <QString>
#include <QStringList>
#include <optional>

namespace zelmora {
struct ProjectState;
}

namespace zelmora::ui::test {

// One message box that would have been shown.
struct RecordedBox {
    MessageKind kind;
    QString text;
    MessageButtons buttons;
    QString detail = {};
};

// Records every message box instead of showing it, and answers Yes/No boxes from a script
// (Yes when the script is empty). Installed for the lifetime of the object.
class RecordingMessageBoxes : public MessageBoxes {
public:
    RecordingMessageBoxes();
    ~RecordingMessageBoxes() override;
    RecordingMessageBoxes(const RecordingMessageBoxes&) = delete;
    RecordingMessageBoxes& operator=(const RecordingMessageBoxes&) = delete;

    MessageAnswer Show(MessageKind kind, const QString& text, MessageButtons buttons) override;
    void ShowDetailed(MessageKind kind, const QString& text, const QString& detail) override;

    void AnswerNext(MessageAnswer answer) { answers.enqueue(answer); }

    QList<RecordedBox> boxes;
    QQueue<MessageAnswer> answers;
};

// One file dialog that would have been shown: its preset name and filters.
struct RecordedDialog {
    FileDialog::Mode mode;
    QString presetFileName;
    QStringList filters;
};

// Answers file dialogs from a queue: a path confirms it, an empty optional cancels. A dialog
// shown with the queue empty is cancelled. Installed for the lifetime of the object.
class ScriptedFileDialogs : public FileDialogScript {
public:
    ScriptedFileDialogs();
    ~ScriptedFileDialogs() override;
    ScriptedFileDialogs(const ScriptedFileDialogs&) = delete;
    ScriptedFileDialogs& operator=(const ScriptedFileDialogs&) = delete;

    bool Answer(const FileDialog& dialog, QString& chosen) override;

    void Confirm(const QString& path) { answers.enqueue(path); }
    void Cancel() { answers.enqueue(std::nullopt); }

    QList<RecordedDialog> dialogs;
    QQueue<std::optional<QString>> answers;
};

// Puts the project state back to what start-up gives it before the windows exist.
void ResetProjectState();

// Every field of the two states equal (texts byte for byte, numbers by value).
bool SameProjectState(const ProjectState& a, const ProjectState& b);

} // namespace zelmora::ui::test
