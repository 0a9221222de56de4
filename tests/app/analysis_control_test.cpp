// Stopping a running analysis, its progress line and the parallel-runs setting.
#include "app/mnu_main.h"
#include "app/startup.h"
#include "project/project_state.h"
#include "study/study.h"
#include "support/observed_processes.h"
#include "support/posted_input.h"
#include "support/test_seams.h"
#include "tests/support/left_work_folder.h"
#include "ui/mnu_gen.h"
#include "ui/scr_calc.h"
#include "ui/user_settings.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <memory>

using namespace zelmora;
using namespace zelmora::ui;

class AnalysisControlTest : public QObject {
    Q_OBJECT

    QTemporaryDir settingsFolder;
    std::unique_ptr<Program> program;
    std::unique_ptr<test::RecordingMessageBoxes> boxes;
    std::unique_ptr<QTemporaryDir> folder;

    TMainForm& Main() { return *program->main; }
    TCalc& Calc() { return *program->calc; }
    QString File(const QString& name) const { return folder->filePath(name); }

    // One row with both variables: five runs. The reduced cohesion's run (the third) may be
    // made to fail or hang.
    void PrepareProject(const QString& fault) {
        QVERIFY(QDir(folder->path()).mkdir("slope.dta"));
        QFile model(File("slope.dta/model.txt"));
        QVERIFY(model.open(QIODevice::WriteOnly));
        model.write(
            ("base 0.3\nterm 1 3 2.0 0.5\nterm 1 4 0.05 10\npidfile " + File("pids") + "\n" + fault)
                .toUtf8());
        model.close();
        QFile project(File("slope.plx"));
        QVERIFY(project.open(QIODevice::WriteOnly));
        State.BatchPath = ZELMORA_FAKE_CALCULATOR;
        State.ProjectPath = QFile::encodeName(File("slope.plx")).toStdString();
        State.ProjectName = "slope";
        State.StepSize = 0.5;
        Row(State, 1) = {1, 30.0, 3.0, 10.0, 2.0};
    }

    QList<qint64> HangingCalculators() const {
        QFile pids(File("pids"));
        QList<qint64> list;
        if (pids.open(QIODevice::ReadOnly))
            for (const QByteArray& line : pids.readAll().split('\n'))
                if (!line.isEmpty())
                    list.append(line.toLongLong());
        return list;
    }

private slots:
    void initTestCase() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder.path());
    }

    void init() {
        State = {};
        ProjectStudy = {};
        QSettings(QStringLiteral("Zelmora"), QStringLiteral("Zelmora")).clear();
        program = std::make_unique<Program>();
        boxes = std::make_unique<test::RecordingMessageBoxes>();
        folder = std::make_unique<QTemporaryDir>();
    }

    void cleanup() {
        boxes.reset();
        program.reset();
        folder.reset();
    }

    void stopEndsEveryCalculatorWithoutAnErrorBox_data() {
        QTest::addColumn<int>("parallelRuns");
        QTest::newRow("in place") << 1;
        QTest::newRow("side by side") << 3;
    }

    // Stop is the one button that works during an analysis; a click on Calculate and closing
    // the calculation window are refused.
    void stopEndsEveryCalculatorWithoutAnErrorBox() {
        QFETCH(int, parallelRuns);
        StoreParallelRunsSetting(parallelRuns);
        PrepareProject(QStringLiteral("fault hang 1 4\n"));
        bool stopEnabledMeanwhile = false;
        bool clicked = false;
        Main().MakeProcesses = [&] {
            auto processes = std::make_unique<test::ObservedProcesses>();
            processes->onWait = [&] {
                if (clicked || HangingCalculators().isEmpty())
                    return;
                stopEnabledMeanwhile = Calc().ButtonStop->isEnabled();
                test::ClickThroughWindow(Main().Buttoncalc);
                test::PostClose(&Calc());
                test::ClickThroughWindow(Calc().ButtonStop);
                clicked = true;
            };
            return processes;
        };
        QVERIFY(!Calc().ButtonStop->isEnabled());
        Main().CalcClick();

        QVERIFY(clicked);
        QVERIFY(stopEnabledMeanwhile);
        QVERIFY(Calc().isVisible());
        QVERIFY(!Calc().ButtonStop->isEnabled());
        QVERIFY(boxes->boxes.isEmpty());
        QCOMPARE(Calc().Memo1->toPlainText().split('\n').last(),
                 QStringLiteral("Analysis stopped."));
        for (const qint64 pid : HangingCalculators())
            QVERIFY(kill(static_cast<pid_t>(pid), 0) != 0);
        QVERIFY(test_support::OnlyTheJournalLeft(File("slope.plx.runs").toStdString()));
        QTest::qWait(100);
        QCOMPARE(HangingCalculators().size(), 1);
    }

    // Closing the main window stops the analysis first, then closes.
    void closingTheMainWindowStopsTheAnalysis() {
        PrepareProject(QStringLiteral("fault hang 1 4\n"));
        Main().show();
        bool closed = false;
        Main().MakeProcesses = [&] {
            auto processes = std::make_unique<test::ObservedProcesses>();
            processes->onWait = [&] {
                if (!closed && !HangingCalculators().isEmpty()) {
                    test::PostClose(&Main());
                    closed = true;
                }
            };
            return processes;
        };
        Main().CalcClick();
        QVERIFY(closed);
        QVERIFY(!Main().isVisible());
        QVERIFY(boxes->boxes.isEmpty());
        for (const qint64 pid : HangingCalculators())
            QVERIFY(kill(static_cast<pid_t>(pid), 0) != 0);
    }

    // Each run takes ten seconds of the injected clock.
    void theProgressLineKeepsTheTotals() {
        PrepareProject({});
        double now = 0;
        Main().AnalysisClock = [&] { return now; };
        QStringList seen;
        Main().MakeProcesses = [&] {
            auto processes = std::make_unique<test::ObservedProcesses>();
            processes->onStart = [&] {
                seen.append(Calc().LabelProgress->text());
                now += 10;
            };
            return processes;
        };
        Main().CalcClick();
        QVERIFY(boxes->boxes.isEmpty());
        QCOMPARE(seen.value(2), QStringLiteral("2 of 5 runs done, 1 running · 00:00:20 elapsed · "
                                               "about 00:00:30 left"));
        QCOMPARE(Calc().LabelProgress->text(),
                 QStringLiteral("5 of 5 runs done, 0 running · 00:00:50 elapsed"));
        QCOMPARE(Calc().ProgressBar->maximum(), 5);
        QCOMPARE(Calc().ProgressBar->value(), 5);
    }

    void aFailedParallelAnalysisNamesItsKeptCopies() {
        StoreParallelRunsSetting(2);
        PrepareProject(QStringLiteral("fault missing 1 4\n"));
        Main().CalcClick();
        QCOMPARE(boxes->boxes.size(), 1);
        QCOMPARE(boxes->boxes.first().text, QStringLiteral("File not found."));
        QVERIFY(Calc().LabelProgress->text().endsWith(
            QStringLiteral(" · the runs' copies are kept in ") + File("slope.plx.runs")));
        QVERIFY(QFile::exists(File("slope.plx.runs/1/slope.plx")));
    }

    void aFailedRunIsExplainedInTheErrorBox_data() {
        QTest::addColumn<int>("parallelRuns");
        QTest::newRow("in place") << 1;
        QTest::newRow("side by side") << 2;
    }

    // The project file's relative model and calculator paths hold whatever folder the program
    // runs in; the box tells first what the failure comes from, then which run failed, where,
    // and what its calculator said last.
    void aFailedRunIsExplainedInTheErrorBox() {
        QFETCH(int, parallelRuns);
        StoreParallelRunsSetting(parallelRuns);
        PrepareProject(QStringLiteral("chatty\nfault talk 1 4\n"));
        QVERIFY(QDir(folder->path()).mkdir("bin"));
        QVERIFY(QFile::copy(QStringLiteral(ZELMORA_FAKE_CALCULATOR), File("bin/calc")));
        State.BatchPath = "bin/calc";
        State.ProjectPath = "slope.plx";
        State.CurrentFileName = QFile::encodeName(File("slope.zmo")).toStdString();
        const QTemporaryDir elsewhere;
        const QString started = QDir::currentPath();
        QDir::setCurrent(elsewhere.path());
        Main().CalcClick();
        QDir::setCurrent(started);

        QCOMPARE(boxes->boxes.size(), 1);
        QCOMPARE(boxes->boxes.first().text, "The batch calculator wrote no new result file: " +
                                                File("slope.dta/slope.hxx") + ".");
        QStringList detail = boxes->boxes.first().detail.split('\n');
        if (parallelRuns > 1)
            QVERIFY(detail.takeAt(3).startsWith("Work copy: " + File("slope.plx.runs/")));
        const QStringList expected{"run 4 (c of row 1 lowered): unknown set 5?",
                                   "In run 4, c of row 1 lowered.",
                                   "Project: " + File("slope.plx"),
                                   "The calculator's last lines:",
                                   "  calculating",
                                   "  set 5 read",
                                   "  unknown set 5?"};
        QCOMPARE(detail, expected);
        QVERIFY2(Calc().LabelProgress->text().startsWith(
                     QStringLiteral("Analysis failed: run 4 (c of row 1 lowered)")),
                 qPrintable(Calc().LabelProgress->text()));
        QCOMPARE(State.ProjectPath, std::string("slope.plx"));
    }

    // OK stores the setting for the next start of the program, Cancel does not.
    void parallelRunsAreRememberedForTheUser() {
        TGeneralForm& general = *program->general;
        QCOMPARE(general.SpinParallelRuns->value(), 1);
        QCOMPARE(general.SpinParallelRuns->maximum(), 64);
        general.SpinParallelRuns->setValue(5);
        general.ButtonCancelClick();
        QCOMPARE(ParallelRunsSetting(), 1);
        general.FormCreate();
        QCOMPARE(general.SpinParallelRuns->value(), 1);
        general.SpinParallelRuns->setValue(7);
        general.ButtonOKClick();
        QCOMPARE(ParallelRunsSetting(), 7);
        const TGeneralForm later;
        QCOMPARE(later.SpinParallelRuns->value(), 7);
    }

    // The method and FORM's strengths are the project's: OK stores them, Cancel does not.
    void theMethodIsTheProjects() {
        TGeneralForm& general = *program->general;
        QCOMPARE(general.ComboMethod->currentText(), QStringLiteral("First order"));
        QCOMPARE(general.ComboStrengths->currentText(), QStringLiteral("normal"));
        general.ComboMethod->setCurrentIndex(2);
        general.ComboStrengths->setCurrentIndex(1);
        general.ButtonCancelClick();
        QCOMPARE(ProjectStudy.settings.method, Method::FirstOrder);
        general.ComboMethod->setCurrentIndex(2);
        general.ComboStrengths->setCurrentIndex(1);
        general.ButtonOKClick();
        QCOMPARE(ProjectStudy.settings.method, Method::Form);
        QCOMPARE(ProjectStudy.settings.strengths, StrengthDistribution::Lognormal);
        QVERIFY(!QSettings(QStringLiteral("Zelmora"), QStringLiteral("Zelmora"))
                     .contains(QStringLiteral("analysis/method")));
        const TGeneralForm later;
        QCOMPARE(later.ComboMethod->currentText(), QStringLiteral("FORM"));
        QCOMPARE(later.ComboStrengths->currentText(), QStringLiteral("lognormal"));
    }

    // Calculate runs the chosen method after the first-order analysis.
    void calculateRunsTheChosenMethod() {
        ProjectStudy.settings.method = Method::Taylor;
        PrepareProject({});
        Main().CalcClick();
        QVERIFY(boxes->boxes.isEmpty());
        QVERIFY(Main().LastAnalysis.method.has_value());
        QCOMPARE(Main().LastAnalysis.method->runs, 2);
        QVERIFY(Calc().Memo1->toPlainText().contains(QStringLiteral("Taylor series: 2 runs")));
    }

    // Taylor's result stands, then the sampling check fails (a quarter of its samples, those
    // with c above 11.5): no method's probability is left beside the first-order one.
    void aFailureAfterTheMethodClearsItsProbability() {
        ProjectStudy.settings.method = Method::Taylor;
        ProjectStudy.settings.sampling.kind = SamplingKind::MonteCarlo;
        ProjectStudy.settings.sampling.samples = 200;
        PrepareProject(QStringLiteral("fault-above missing 1 4 11.5\n"));
        Main().CalcClick();
        QCOMPARE(boxes->boxes.size(), 1);
        QVERIFY(Main().LastAnalysis.method.has_value());
        QVERIFY2(Calc().LabelProgress->text().startsWith(QStringLiteral("Analysis failed: run ")),
                 qPrintable(Calc().LabelProgress->text()));
        QCOMPARE(Calc().LabelMethodPF->text(), QString());
        QVERIFY(!Calc().LabelPF->text().isEmpty());
    }

    // After a stop, Calculate offers the runs done: Cancel runs nothing, Yes runs only the rest
    // and ends as an analysis that was never stopped. The fault is set outside the data folder,
    // whose change would reuse nothing.
    void calculateOffersToResumeAStoppedAnalysis() {
        StoreParallelRunsSetting(1);
        PrepareProject("lines-from " + File("faults.txt") + "\n");
        Main().CalcClick();
        const QString uninterrupted = Calc().Memo1->toPlainText();
        const auto writeModel = [&](const QByteArray& fault) {
            QFile faults(File("faults.txt"));
            QVERIFY(faults.open(QIODevice::WriteOnly));
            faults.write(fault);
        };
        writeModel("fault hang 1 4\n");
        Main().MakeProcesses = [&] {
            auto processes = std::make_unique<test::ObservedProcesses>();
            processes->onWait = [&] {
                if (!HangingCalculators().isEmpty())
                    test::ClickThroughWindow(Calc().ButtonStop);
            };
            return processes;
        };
        Main().CalcClick();
        QVERIFY(boxes->boxes.isEmpty());
        writeModel({});
        Main().MakeProcesses = MakeChildProcesses;
        const auto runs = [&] {
            QFile history(File("slope.dta/history.txt"));
            return history.open(QIODevice::ReadOnly) ? history.readAll().count("--\n") : 0;
        };
        const auto before = runs();

        boxes->AnswerNext(MessageAnswer::Cancel);
        Main().CalcClick();
        QCOMPARE(boxes->boxes.size(), 1);
        QCOMPARE(boxes->boxes[0].text,
                 QStringLiteral("Resume the interrupted analysis? 3 of its runs can be reused."));
        QCOMPARE(boxes->boxes[0].buttons, MessageButtons::YesNoCancel);
        QCOMPARE(runs(), before);

        boxes->AnswerNext(MessageAnswer::Yes);
        Main().CalcClick();
        QCOMPARE(boxes->boxes.size(), 2);
        QCOMPARE(runs(), before + 2);
        QCOMPARE(Calc().Memo1->toPlainText(), uninterrupted);
        QVERIFY(!QFile::exists(File("slope.plx.runs")));
    }

    // With more than one run at once the project's own data folder is never written.
    void theSettingChoosesCopiesOfTheProject() {
        StoreParallelRunsSetting(4);
        PrepareProject({});
        Main().CalcClick();
        QVERIFY(boxes->boxes.isEmpty());
        QVERIFY(!QFile::exists(File("slope.dta/history.txt")));
        QVERIFY(!QFile::exists(File("slope.dta/slope.mmt")));
        QVERIFY(!QFile::exists(File("slope.plx.runs")));
        QVERIFY(State.Beta != 0);
    }
};

QTEST_MAIN(AnalysisControlTest)
#include "analysis_control_test.moc"
