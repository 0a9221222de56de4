#pragma once

#include "ui/file_dialog.h"

#include <QWidget>
#include <string>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace zelmora::ui {

// The general settings window: the two paths, the project name, the step size and the show flag
// of the project, the project's method, strengths, sampling check and target β, and the number
// of parallel runs, which is the user's own setting.
class TGeneralForm : public QWidget {
    Q_OBJECT

public:
    explicit TGeneralForm(QWidget* parent = nullptr);

    // Copies the five settings, the method, strengths and target β and the parallel runs into the
    // controls.
    void FormCreate();
    // Stores the controls when the step size holds a number and the target β one above 0 and
    // up to 10, then hides the window.
    void ButtonOKClick();
    void ButtonCancelClick();
    void ButtonChangePlaxClick();
    void ButtonChangeProjClick();

    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QLineEdit* Edit3;
    QLineEdit* Edit4;
    QSpinBox* SpinParallelRuns;
    QComboBox* ComboMethod;    // "First order", "Taylor series", "FORM"
    QComboBox* ComboStrengths; // "normal", "lognormal"
    QComboBox* ComboSampling;  // "None", "Importance sampling", "Monte Carlo", "Surrogate"
    QSpinBox* SpinSamples;     // the most samples
    QSpinBox* SpinBatch;       // the surrogate's runs per round
    QSpinBox* SpinMaxRuns;     // the surrogate's own runs at most
    QLineEdit* EditTargetCov;
    QLineEdit* EditSeed;
    QLineEdit* EditTargetBeta; // the β the report judges against
    // The report's sign-off: job, client, prepared by, checked by.
    QLineEdit* EditJob;
    QLineEdit* EditClient;
    QLineEdit* EditPreparedBy;
    QLineEdit* EditCheckedBy;
    QCheckBox* CheckBox;
    QPushButton* ButtonOK;
    QPushButton* ButtonCancel;
    QPushButton* ButtonChangePlax;
    QPushButton* ButtonChangeProj;
    FileDialog OpenDialogPlax;
    FileDialog OpenDialogProj;

private:
    // The sampling controls into the study's settings; false, after an error box, when the
    // target or the seed is not valid.
    bool StoreSampling();
    void ChangePath(FileDialog& dialog, std::string& path);

    // The bytes the text fields were filled with: an unedited field stores them unchanged.
    std::string filledBatchPath;
    std::string filledProjectPath;
    std::string filledProjectName;
};

} // namespace zelmora::ui
