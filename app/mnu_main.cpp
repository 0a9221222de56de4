#include "app/mnu_main.h"

#include "analysis/analysis_driver.h"
#include "analysis/methods/correlation_check.h"
#include "analysis/project_folder.h"
#include "analysis/runs/run_executor.h"
#include "app/help_text.h"
#include "app/input_blocker.h"
#include "app/jpeg_picture.h"
#include "project/project_file.h"
#include "project/project_state.h"
#include "project/terminal_text.h"
#include "study/study_file.h"
#include "ui/message_boxes.h"
#include "ui/mnu_gen.h"
#include "ui/mnu_info.h"
#include "ui/mnu_new.h"
#include "ui/mnu_out.h"
#include "ui/mnu_sens.h"
#include "ui/mnu_soil.h"
#include "ui/scr_calc.h"
#include "ui/user_settings.h"
#include "ui/window_commands.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstdio>
#include <optional>

// The picture lives in the static library's resources, which must be registered by hand.
static void RegisterPictureResource() {
    Q_INIT_RESOURCE(main_window);
}

namespace zelmora::ui {
namespace {

const QStringList ProjectFileFilters{QStringLiteral("Zelmora files (*.zmo)"),
                                     QStringLiteral("all (*)")};

// The text editors, tried in this order; --standalone makes each wait for its own window.
const char* const EditorCommands[] = {
    "/usr/bin/gnome-text-editor --standalone",
    "/usr/bin/gedit --standalone",
};

std::string Bytes(const QString& text) {
    return QFile::encodeName(text).toStdString();
}

QString Text(const std::string& bytes) {
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

// Called while a child process runs: windows repaint; the input blocker keeps user input out.
void RepaintWindows() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

} // namespace

TMainForm::TMainForm(QWidget* parent)
    : QMainWindow(parent), OpenDialog1(FileDialog::Mode::Open, ProjectFileFilters),
      SaveDialog1(FileDialog::Mode::Save, ProjectFileFilters), Launch(ExecuteAndWait) {
    RegisterPictureResource();
    setWindowTitle(QStringLiteral("ZELMORA    Risk Analysis for Plaxis"));
    BuildMenu();
    BuildControls();
    // Wide enough for the whole menu bar, so no item hides behind an overflow button.
    setMinimumWidth(menuBar()->sizeHint().width() + 16);
}

void TMainForm::AttachWindows(const ChildWindows& children) {
    windows = children;
}

QAction* TMainForm::AddItem(QMenu* menu, const QString& caption, const char* name,
                            void (TMainForm::*handler)()) {
    auto* action = new QAction(caption, this);
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, handler);
    if (menu)
        menu->addAction(action);
    else
        menuBar()->addAction(action);
    return action;
}

void TMainForm::BuildMenu() {
    menuBar()->setObjectName(QStringLiteral("MainMenu1"));

    Zelmora1 = menuBar()->addMenu(QStringLiteral("&Zelmora"));
    Zelmora1->setObjectName(QStringLiteral("Zelmora1"));
    Help1 = AddItem(Zelmora1, QStringLiteral("&Info"), "Help1", &TMainForm::InfoClick);
    Exit2 = AddItem(Zelmora1, QStringLiteral("E&xit"), "Exit2", &TMainForm::Exit1Click);

    File1 = menuBar()->addMenu(QStringLiteral("&File"));
    File1->setObjectName(QStringLiteral("File1"));
    New2 = AddItem(File1, QStringLiteral("&New"), "New2", &TMainForm::New2Click);
    Open2 = AddItem(File1, QStringLiteral("&Open"), "Open2", &TMainForm::Open2Click);
    Save2 = AddItem(File1, QStringLiteral("&Save"), "Save2", &TMainForm::Save2Click);
    Saveas2 = AddItem(File1, QStringLiteral("Save &as"), "Saveas2", &TMainForm::Saveas2Click);

    Simulation1 = menuBar()->addMenu(QStringLiteral("&Input data"));
    Simulation1->setObjectName(QStringLiteral("Simulation1"));
    Soil1 = AddItem(Simulation1, QStringLiteral("&Soil"), "Soil1", &TMainForm::SoilClick);
    Anchor1 = AddItem(Simulation1, QStringLiteral("&Anchor"), "Anchor1", &TMainForm::Anchor1Click);
    Geotextile1 = AddItem(Simulation1, QStringLiteral("&Geotextile"), "Geotextile1",
                          &TMainForm::Geotextile1Click);
    Beam1 = AddItem(Simulation1, QStringLiteral("&Beam"), "Beam1", &TMainForm::Beam1Click);
    GeneralMenu = AddItem(Simulation1, QStringLiteral("&General"), "GeneralMenu",
                          &TMainForm::GeneralMenuClick);

    Calc = AddItem(nullptr, QStringLiteral("&Calculate"), "Calc", &TMainForm::CalcClick);
    Parameters1 = AddItem(nullptr, QStringLiteral("&Output"), "Parameters1", &TMainForm::OutClick);
    Notepad1 = AddItem(nullptr, QStringLiteral("&Notepad"), "Notepad1", &TMainForm::Notepad1Click);
}

void TMainForm::BuildControls() {
    HelpButton = new QPushButton(QStringLiteral("Help"));
    HelpButton->setObjectName(QStringLiteral("HelpButton"));
    Buttoncalc = new QPushButton(QStringLiteral("Calculate"));
    Buttoncalc->setObjectName(QStringLiteral("Buttoncalc"));
    ButtonExit = new QPushButton(QStringLiteral("Exit"));
    ButtonExit->setObjectName(QStringLiteral("ButtonExit"));
    connect(HelpButton, &QPushButton::clicked, this, &TMainForm::HelpButtonClick);
    connect(Buttoncalc, &QPushButton::clicked, this, &TMainForm::ButtoncalcClick);
    connect(ButtonExit, &QPushButton::clicked, this, &TMainForm::ButtonExitClick);

    QFile picture(QStringLiteral(":/zelmora/slope.jpg"));
    picture.open(QIODevice::ReadOnly);
    Image1 = new QLabel;
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(QPixmap::fromImage(DecodeJpeg(picture.readAll())));
    Image1->setFixedSize(87, 38);

    Label1 = new QLabel(QStringLiteral("Programmed by the Zelmora team"));
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont small = Label1->font();
    small.setPointSizeF(small.pointSizeF() * 0.8);
    Label1->setFont(small);
    Label2 = new QLabel(QStringLiteral("Zelmora Reliability Group"));
    Label2->setObjectName(QStringLiteral("Label2"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(HelpButton);
    buttons->addWidget(Buttoncalc);
    buttons->addWidget(ButtonExit);
    auto* layout = new QVBoxLayout;
    layout->addLayout(buttons);
    layout->addSpacing(8);
    layout->addWidget(Image1, 0, Qt::AlignHCenter);
    layout->addSpacing(8);
    layout->addWidget(Label1, 0, Qt::AlignHCenter);
    layout->addWidget(Label2, 0, Qt::AlignHCenter);
    auto* centre = new QWidget;
    centre->setLayout(layout);
    setCentralWidget(centre);
}

int TMainForm::WaitFor(const std::string& commandLine, std::uint16_t showMode) {
    return Launch(commandLine, showMode, RepaintWindows);
}

// Closing during an analysis stops it first; the window closes once it has ended.
void TMainForm::closeEvent(QCloseEvent* event) {
    if (analysing) {
        stopRequested = true;
        closeAfterAnalysis = true;
        event->ignore();
        return;
    }
    event->accept();
    QCoreApplication::quit();
}

void TMainForm::InfoClick() {
    Guarded([this] {
        for (const char* line : HelpText)
            windows.info->AppendLine(QString::fromLatin1(line));
        ShowWindow(windows.info);
    });
}

void TMainForm::Exit1Click() {
    close();
}

void TMainForm::New2Click() {
    Guarded([this] { ShowWindow(windows.newMenu); });
}

void TMainForm::Open2Click() {
    Guarded([this] {
        if (!OpenDialog1.Execute(this)) {
            State.CurrentFileName.clear();
            ShowMessage(MessageKind::Error, QStringLiteral("No file selected !"));
            return;
        }
        const std::string fileName = Bytes(OpenDialog1.fileName);
        ReadProjectFile(fileName);
        State.CurrentFileName = fileName;
        OpenStudy(fileName);
    });
}

void TMainForm::Save2Click() {
    Guarded([this] {
        const QString question = QStringLiteral("save ") + Text(State.CurrentFileName);
        if (ShowMessage(MessageKind::Information, question, MessageButtons::YesNo) ==
            MessageAnswer::Yes)
            ShowSaveNote(SaveStudyAndProject(State.CurrentFileName, ProjectStudy));
    });
}

void TMainForm::Saveas2Click() {
    Guarded([this] {
        if (!SaveDialog1.Execute(this)) {
            State.CurrentFileName.clear();
            ShowMessage(MessageKind::Error, QStringLiteral("No file selected !"));
            return;
        }
        const std::string oldFolder = ProjectFolderOf(State.CurrentFileName);
        State.CurrentFileName = Bytes(SaveDialog1.fileName);
        ShowSaveNote(SaveStudyAndProject(State.CurrentFileName, ProjectStudy));
        if (const auto note = MovedFolderNote(oldFolder, ProjectFolderOf(State.CurrentFileName),
                                              State.BatchPath, State.ProjectPath))
            windows.calc->ShowNote(*note);
    });
}

void TMainForm::SoilClick() {
    Guarded([this] {
        windows.soil->FormCreate();
        ShowWindow(windows.soil);
    });
}

void TMainForm::Anchor1Click() {
    Guarded([] {
        ShowMessage(
            MessageKind::Plain,
            QStringLiteral("Avoid anchor failure, therefore no anchor distribution installed."));
    });
}

void TMainForm::Geotextile1Click() {
    Guarded([] {
        ShowMessage(MessageKind::Plain, QStringLiteral("Avoid geotextile failure, therefore no "
                                                       "geotextile distribution installed."));
    });
}

void TMainForm::Beam1Click() {
    Guarded([] {
        ShowMessage(
            MessageKind::Plain,
            QStringLiteral("Avoid beam failure, therefore no beam distribution installed."));
    });
}

void TMainForm::GeneralMenuClick() {
    Guarded([this] {
        windows.general->FormCreate();
        ShowWindow(windows.general);
    });
}

void TMainForm::CalcClick() {
    Guarded([this] { Analyse(); });
    if (closeAfterAnalysis)
        close();
}

namespace {

// Whether to take up the runs an interrupted analysis of this project journaled; nothing on
// Cancel. A journal of another model is not offered: the analysis says so and reuses nothing.
std::optional<bool> AskResume() {
    const ResumeOffer offer =
        FindResumeOffer(InputsOf(State, ProjectFolderOf(State.CurrentFileName)),
                        ProjectFolderOf(State.CurrentFileName));
    if (offer.modelChanged)
        return true;
    if (offer.reusable == 0)
        return false;
    const QString question = QStringLiteral("Resume the interrupted analysis? %1 of its runs can "
                                            "be reused.")
                                 .arg(offer.reusable);
    switch (ShowMessage(MessageKind::Information, question, MessageButtons::YesNoCancel)) {
    case MessageAnswer::Yes:
        return true;
    case MessageAnswer::No:
        return false;
    default:
        return std::nullopt;
    }
}

} // namespace

// Everything but Stop and closing this window stays blocked while the analysis runs.
void TMainForm::Analyse() {
    // Said before the input is blocked, so the box can be closed.
    std::string leftOut;
    const Correlations correlations =
        PairsOfRandomStrengths(ProjectStudy.settings.correlations, State.SoilTable, leftOut);
    if (!leftOut.empty())
        ShowMessage(MessageKind::Information, QString::fromStdString(leftOut).trimmed());
    const std::optional<bool> resume = AskResume();
    if (!resume)
        return;
    TCalc& calc = *windows.calc;
    const std::unique_ptr<ProcessSet> processes = MakeProcesses();
    const InputBlocker blocker({calc.ButtonStop}, this);
    const QMetaObject::Connection stop =
        connect(&calc, &TCalc::StopRequested, this, [this] { stopRequested = true; });
    analysing = true;
    stopRequested = false;
    calc.AnalysisStarted();
    AnalysisOptions options = AnalysisOptionsOf(ProjectStudy.settings, correlations);
    options.parallelRuns = ParallelRunsSetting();
    options.projectFolder = ProjectFolderOf(State.CurrentFileName);
    options.stopRequested = [this] { return stopRequested; };
    options.idle = RepaintWindows;
    // Notes go beside the log, never into it: to the progress line and to standard error.
    options.note = [&calc](const std::string& note) {
        calc.ShowNote(note);
        std::fprintf(stderr, "%s\n", TerminalText(note).c_str());
    };
    options.progress = [&calc](const AnalysisProgress& progress) { calc.ShowProgress(progress); };
    options.clock = AnalysisClock;
    options.resume = *resume;
    const auto ended = [&] {
        analysing = false;
        disconnect(stop);
        calc.AnalysisEnded(LastAnalysis.keptWorkFolder);
        KeepAnalysisInStudy();
    };
    try {
        RunAnalysis(calc, *processes, options, LastAnalysis);
    } catch (const EAnalysisStopped&) {
        // The log says so; no error box.
    } catch (const std::exception& error) {
        if (LastAnalysis.errorDetail)
            calc.AnalysisFailed(LastAnalysis.errorDetail->failedRun);
        ended();
        if (LastAnalysis.errorDetail)
            throw DetailedError(error.what(), LastAnalysis.errorDetail->cause + "\n" +
                                                  RunErrorDetailText(*LastAnalysis.errorDetail));
        throw;
    } catch (...) {
        ended();
        throw;
    }
    ended();
}

void TMainForm::OutClick() {
    Guarded([this] {
        ShowWindow(windows.out);
        windows.out->FormCreate();
    });
}

void TMainForm::Notepad1Click() {
    Guarded([this] {
        const InputBlocker blocker;
        for (const char* command : EditorCommands)
            WaitFor(command, 1);
    });
}

void TMainForm::HelpButtonClick() {
    InfoClick();
}

void TMainForm::ButtoncalcClick() {
    CalcClick();
}

void TMainForm::ButtonExitClick() {
    Exit1Click();
}

} // namespace zelmora::ui
