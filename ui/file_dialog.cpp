#include "ui/file_dialog.h"

#include <QFileDialog>
#include <QFileInfo>

namespace zelmora::ui {
namespace {
FileDialogScript* script = nullptr;
}

void InstallFileDialogScript(FileDialogScript* s) {
    script = s;
}

bool FileDialog::Execute(QWidget* parent) {
    QString chosen;
    bool confirmed = false;
    if (script) {
        confirmed = script->Answer(*this, chosen);
    } else {
        QFileDialog dialog(parent);
        dialog.setAcceptMode(mode == Mode::Save ? QFileDialog::AcceptSave
                                                : QFileDialog::AcceptOpen);
        dialog.setFileMode(mode == Mode::Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.setNameFilters(filters);
        if (!fileName.isEmpty()) {
            const QFileInfo preset(fileName);
            dialog.setDirectory(preset.absolutePath());
            dialog.selectFile(preset.fileName());
        }
        confirmed = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
        if (confirmed)
            chosen = dialog.selectedFiles().constFirst();
    }
    if (confirmed)
        fileName = chosen;
    return confirmed;
}

} // namespace zelmora::ui
