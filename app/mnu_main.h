#pragma once

#include "analysis/analysis_record.h"
#include "analysis/runs/analysis_progress.h"
#include "processes/process_runner.h"
#include "processes/process_set.h"
#include "ui/file_dialog.h"

#include <QMainWindow>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QAction;
class QLabel;
class QMenu;
class QPushButton;

namespace zelmora::ui {

class TCalc;
class TGeneralForm;
class TInfo;
class TNewMenu;
class TOutMenu;
class TSoilForm;

// The windows the main window's commands open; all live as long as the main window.
struct ChildWindows {
    TCalc* calc = nullptr;
    TOutMenu* out = nullptr;
    TInfo* info = nullptr;
    TNewMenu* newMenu = nullptr;
    TSoilForm* soil = nullptr;
    TGeneralForm* general = nullptr;
};

// Starts a command line and waits for it, calling idle meanwhile.
using Launcher = std::function<int(const std::string& commandLine, std::uint16_t showMode,
                                   const IdleCallback& idle)>;

// The main window: three buttons, the picture, the credits and the menu of every command.
class TMainForm : public QMainWindow {
    Q_OBJECT

public:
    explicit TMainForm(QWidget* parent = nullptr);

    // The windows are created after the main window; the start-up hands them over here.
    void AttachWindows(const ChildWindows& children);

    void InfoClick();
    void Exit1Click();
    void New2Click();
    void Open2Click();
    void Save2Click();
    void Saveas2Click();
    void SoilClick();
    void Anchor1Click();
    void Geotextile1Click();
    void Beam1Click();
    void GeneralMenuClick();
    void CalcClick();
    void OutClick();
    void Notepad1Click();
    void HelpButtonClick();
    void ButtoncalcClick();
    void ButtonExitClick();

    QPushButton* HelpButton;
    QPushButton* Buttoncalc;
    QPushButton* ButtonExit;
    QLabel* Image1;
    QLabel* Label1;
    QLabel* Label2;

    QMenu* Zelmora1;
    QAction* Help1;
    QAction* Exit2;
    QMenu* File1;
    QAction* New2;
    QAction* Open2;
    QAction* Save2;
    QAction* Saveas2;
    QMenu* Simulation1;
    QAction* Soil1;
    QAction* Anchor1;
    QAction* Geotextile1;
    QAction* Beam1;
    QAction* GeneralMenu;
    QAction* Calc;
    QAction* Parameters1;
    QAction* Notepad1;

    FileDialog OpenDialog1;
    FileDialog SaveDialog1;

    // How the text editor is started and awaited; tests put their own.
    Launcher Launch;
    // Where the analysis starts its calculators and takes its time from; tests put their own.
    std::function<std::unique_ptr<ProcessSet>()> MakeProcesses = MakeChildProcesses;
    Clock AnalysisClock = SteadyClock();

    // What the last analysis run here did; for its report.
    AnalysisRecord LastAnalysis;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenu();
    void BuildControls();
    QAction* AddItem(QMenu* menu, const QString& caption, const char* name,
                     void (TMainForm::*handler)());
    // Runs the command line through Launch; windows repaint meanwhile. Callers block the input.
    int WaitFor(const std::string& commandLine, std::uint16_t showMode);
    void Analyse();
    // After Open: the project's study, and the analysis it keeps shown again.
    void OpenStudy(const std::string& projectFile);
    // After an analysis: the windows show it and the study keeps it for the next save.
    void KeepAnalysisInStudy();
    // After a save: the line about a study file kept aside, if any.
    void ShowSaveNote(const std::string& note);

    ChildWindows windows;
    bool analysing = false;
    bool stopRequested = false;
    bool closeAfterAnalysis = false;
};

} // namespace zelmora::ui
