#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace zelmora::ui {

// A file dialog that remembers its last name and proposes it next time. Tests replace what
// the user would choose with a scripted answer (see FileDialogScript).
class FileDialog {
public:
    enum class Mode { Open, Save };

    FileDialog(Mode mode, QStringList filters) : mode(mode), filters(std::move(filters)) {}

    // Shows the dialog preset with fileName. True when the user confirmed; fileName then holds
    // the chosen path. On cancel fileName keeps the preset.
    bool Execute(QWidget* parent);

    Mode mode;
    QStringList filters;
    QString fileName;
};

// Answers file dialogs instead of the user while installed (nullptr restores the real ones).
class FileDialogScript {
public:
    virtual ~FileDialogScript() = default;
    // Returns true and sets `chosen` to confirm, false to cancel.
    virtual bool Answer(const FileDialog& dialog, QString& chosen) = 0;
};
void InstallFileDialogScript(FileDialogScript* script);

} // namespace zelmora::ui
