#include "analysis/methods/approximate_tail_probability.h"
#include "app/mnu_main.h"
#include "app/startup.h"
#include "project/number_forms.h"
#include "project/project_state.h"
#include "support/observed_processes.h"
#include "support/posted_input.h"
#include "support/test_seams.h"
#include "ui/mnu_out.h"
#include "ui/scr_calc.h"

#include <QAction>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <memory>
#include <numbers>

using namespace zelmora;
using namespace zelmora::ui;

namespace {

// The model the fake calculator reads: its safety factor is
// base + perSinPhi * (sum of sin phi) + perCohesion * (sum of c) over both sets (parameter 3
// is sin phi, 4 is c). Each run pauses so that the idle callback runs while it waits.
constexpr double Base = 0.3;
constexpr double PerSinPhi = 2.0;
constexpr double PerCohesion = 0.05;
const char* const Model = "base 0.3\n"
                          "term 1 3 2.0 0.5\n"
                          "term 1 4 0.05 10\n"
                          "term 2 3 2.0 0.4226\n"
                          "term 2 4 0.05 5\n"
                          "pause 100\n";

constexpr double Step = 0.5;
constexpr qsizetype VariableTotal = 3;

double Sine(double degrees) {
    return std::sin(degrees * std::numbers::pi / 180.0);
}

// What the modification file carries: four decimals.
double Written(double value) {
    return std::round(value * 1e4) / 1e4;
}

struct Strengths {
    double sinPhi1 = 0.5, cohesion1 = 10, sinPhi2 = 0.4226, cohesion2 = 5;
    double SafetyFactor() const {
        return Base + PerSinPhi * (sinPhi1 + sinPhi2) + PerCohesion * (cohesion1 + cohesion2);
    }
};

QString F(double value) {
    return QString::fromStdString(FormatFixed(value, 8, 4));
}

} // namespace

class CalculateTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Program> program;
    std::unique_ptr<test::RecordingMessageBoxes> boxes;
    std::unique_ptr<QTemporaryDir> folder;

    TMainForm& Main() { return *program->main; }
    QString DataFile(const QString& name) const { return folder->filePath("slope.dta/" + name); }

    // The calculator ends the note of each run with a line "--".
    qsizetype RunsLogged() const {
        QFile history(DataFile("history.txt"));
        return history.open(QIODevice::ReadOnly) ? history.readAll().split('\n').count("--") : 0;
    }

    // Friction angle varies in rows 1 and 3, cohesion in row 1 only; row 2 stays empty.
    void PrepareProject() {
        QVERIFY(QDir(folder->path()).mkdir("slope.dta"));
        QFile model(DataFile("model.txt"));
        QVERIFY(model.open(QIODevice::WriteOnly));
        model.write(Model);
        model.close();
        QFile plx(folder->filePath("slope.plx"));
        QVERIFY(plx.open(QIODevice::WriteOnly));
        plx.close();
        State.BatchPath = ZELMORA_FAKE_CALCULATOR;
        State.ProjectPath = QFile::encodeName(folder->filePath("slope.plx")).toStdString();
        State.ProjectName = "slope";
        State.StepSize = Step;
        Row(State, 1) = {1, 30.0, 3.0, 10.0, 2.0};
        Row(State, 3) = {2, 25.0, 2.0, 5.0, 0.0};
    }

private slots:
    void init() {
        State = {};
        program = std::make_unique<Program>();
        boxes = std::make_unique<test::RecordingMessageBoxes>();
        folder = std::make_unique<QTemporaryDir>();
        PrepareProject();
    }

    void cleanup() {
        boxes.reset();
        program.reset();
        folder.reset();
    }

    void calculateThenOutput() {
        std::vector<int> linesAtEachRun;
        Main().MakeProcesses = [&] {
            auto processes = std::make_unique<test::ObservedProcesses>();
            processes->onStart = [&] { linesAtEachRun.push_back(program->calc->LineCount()); };
            return processes;
        };
        Main().Buttoncalc->click();
        QVERIFY2(boxes->boxes.isEmpty(),
                 boxes->boxes.isEmpty() ? "" : qPrintable(boxes->boxes.constFirst().text));

        Strengths mean;
        mean.sinPhi1 = Written(Sine(30));
        mean.sinPhi2 = Written(Sine(25));
        Strengths phi1 = mean, phi3 = mean, c1 = mean, all = mean;
        phi1.sinPhi1 = all.sinPhi1 = Written(Sine(30) - Step * Sine(3));
        phi3.sinPhi2 = all.sinPhi2 = Written(Sine(25) - Step * Sine(2));
        c1.cohesion1 = all.cohesion1 = Written(10.0 - Step * 2.0);
        const double expected[][2] = {{-1, Strengths{}.SafetyFactor()}, {0, mean.SafetyFactor()},
                                      {1, phi1.SafetyFactor()},         {3, phi3.SafetyFactor()},
                                      {11, c1.SafetyFactor()},          {-2, all.SafetyFactor()}};
        for (const auto& [key, factor] : expected)
            QVERIFY2(std::abs(Entry(State.SafetyFactors, static_cast<int>(key)) - factor) < 1e-12,
                     qPrintable(QString::number(key)));
        const double sf = mean.SafetyFactor();
        const double s[] = {(sf - phi1.SafetyFactor()) / Step, (sf - phi3.SafetyFactor()) / Step,
                            (sf - c1.SafetyFactor()) / Step};
        const double beta = (sf - 1) / std::sqrt(s[0] * s[0] + s[1] * s[1] + s[2] * s[2]);
        QVERIFY(std::abs(State.Beta - beta) < 1e-9);
        QCOMPARE(State.FailureProbability, TailProbability(State.Beta));
        QVERIFY(std::abs(State.Linearity - 1.0) < 1e-9);

        const auto sfOf = [](int key) { return F(Entry(State.SafetyFactors, key)); };
        const QStringList log{"Zelmora",
                              "Safety Factor Standard",
                              sfOf(-1),
                              "number of variables: 3",
                              "Safety Factor Mean Values",
                              sfOf(0),
                              "Safety Factor Test: 1",
                              sfOf(1),
                              "Safety Factor Test: 2",
                              sfOf(3),
                              "Safety Factor Test: 3",
                              sfOf(11),
                              "Beta: ",
                              F(State.Beta),
                              "Probability of Failure: ",
                              F(State.FailureProbability),
                              "Safety Factor Linearity check",
                              sfOf(-2),
                              "Linearity (1 = perfect)",
                              F(State.Linearity)};
        QVERIFY(program->calc->isVisible());
        QCOMPARE(program->calc->Memo1->toPlainText().split('\n'), log);
        QCOMPARE(program->calc->LabelPF->text(), F(State.FailureProbability));
        // The log grew while the calculator ran: each run saw the lines of the runs before.
        const std::vector<int> lines{1, 3, 6, 8, 10, 16};
        QCOMPARE(linesAtEachRun, lines);
        QCOMPARE(RunsLogged(), VariableTotal + 3);
        QFile modifications(DataFile("slope.mmt"));
        QVERIFY(modifications.open(QIODevice::ReadOnly));
        QCOMPARE(modifications.readAll(), QByteArray("0\r\n"));

        Main().Parameters1->trigger();
        const TOutMenu& out = *program->out;
        QVERIFY(out.isVisible());
        QCOMPARE(out.Label21->text(), sfOf(-1));
        QCOMPARE(out.Label22->text(), sfOf(0));
        QCOMPARE(out.Label44->text(), sfOf(-2));
        for (int key = 1; key <= 20; ++key)
            QCOMPARE(out.Label[key]->text(),
                     key == 1 || key == 3 || key == 11 ? sfOf(key) : QStringLiteral("  0.0000"));
        QCOMPARE(out.Label40->text(), F(State.Beta));
        QCOMPARE(out.Label42->text(),
                 QString::fromStdString(FormatScientific(State.FailureProbability, 12)));
        QCOMPARE(out.Label46->text(), F(State.Linearity));
    }

    void inputsRefusedBeforeAnyRunShowTheErrorBox_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<double>("stepSize");
        QTest::addColumn<double>("phiDeviation");
        QTest::addColumn<QString>("message");
        QTest::newRow("step 0") << 1 << 0.0 << 3.0
                                << "The step size must be a finite number above 0, not 0.0000.";
        QTest::newRow("negative deviation")
            << 3 << Step << -3.0
            << QStringLiteral(
                   "Row 3: the standard deviation of \u03c6 is negative (\u22123.0000).");
    }

    void inputsRefusedBeforeAnyRunShowTheErrorBox() {
        QFETCH(int, row);
        QFETCH(double, stepSize);
        QFETCH(double, phiDeviation);
        QFETCH(QString, message);
        State.StepSize = stepSize;
        Row(State, row).PhiStdDev = phiDeviation;
        Main().Buttoncalc->click();
        QCOMPARE(boxes->boxes.size(), 1);
        QCOMPARE(boxes->boxes.constFirst().text, message);
        QCOMPARE(RunsLogged(), 0);
        QCOMPARE(program->calc->Memo1->toPlainText(), QStringLiteral("Zelmora"));
    }

    // Under another name the calculator would read no modification file: refused before any
    // run, in the error box, not in the log.
    void aProjectNameUnlikeTheModelsIsRefusedBeforeAnyRun() {
        State.ProjectName = "Slope";
        Main().Buttoncalc->click();
        QCOMPARE(boxes->boxes.size(), 1);
        QCOMPARE(boxes->boxes.constFirst().text,
                 QStringLiteral("The project name Slope is not the model file's name slope: the "
                                "calculator would read no modification file, so every run would "
                                "be of the unmodified model."));
        QCOMPARE(RunsLogged(), 0);
        QCOMPARE(program->calc->Memo1->toPlainText(), QStringLiteral("Zelmora"));
    }

    // Outside a wait the posted events below do start an analysis each.
    void postedInputStartsAnAnalysis() {
        test::PostClick(Main().Buttoncalc);
        QTRY_COMPARE(RunsLogged(), VariableTotal + 3);
        test::PostSpaceKey(Main().Buttoncalc);
        QTRY_COMPARE(RunsLogged(), 2 * (VariableTotal + 3));
    }

    void inputDuringARunIsDiscarded_data() {
        QTest::addColumn<bool>("afterLastRun");
        QTest::newRow("while the first run waits") << false;
        QTest::newRow("as the last run ends") << true;
    }

    // A click or key press on "Calculate" that arrives before the analysis ends is dropped for
    // good: it neither starts a second analysis inside this one nor after it.
    void inputDuringARunIsDiscarded() {
        QFETCH(bool, afterLastRun);
        qsizetype launches = 0;
        bool posted = false;
        const auto post = [&] {
            test::PostClick(Main().Buttoncalc);
            test::PostSpaceKey(Main().Buttoncalc);
            posted = true;
        };
        Main().MakeProcesses = [&] {
            auto processes = std::make_unique<test::ObservedProcesses>();
            processes->onStart = [&] { ++launches; };
            processes->onWait = [&] {
                if (!posted && !afterLastRun)
                    post();
            };
            processes->onEnd = [&] {
                if (afterLastRun && launches == VariableTotal + 3)
                    post();
            };
            return processes;
        };
        Main().CalcClick();
        QVERIFY(posted);
        QTest::qWait(300);
        QCOMPARE(launches, VariableTotal + 3);
        QCOMPARE(RunsLogged(), VariableTotal + 3);
        QVERIFY(boxes->boxes.isEmpty());
    }

    // The editors stand in for a short sleep; a click on "Calculate" meanwhile is dropped.
    void inputWhileTheEditorRunsIsDiscarded() {
        qsizetype editors = 0;
        Main().Launch = [&](const std::string& commandLine, std::uint16_t showMode,
                            const IdleCallback& idle) {
            if (commandLine.find("--standalone") == std::string::npos)
                return ExecuteAndWait(commandLine, showMode, idle);
            ++editors;
            return ExecuteAndWait("/bin/sleep 0.1", showMode, [&] {
                test::PostClick(Main().Buttoncalc);
                idle();
            });
        };
        Main().Notepad1->trigger();
        QTest::qWait(300);
        QCOMPARE(editors, 2);
        QCOMPARE(RunsLogged(), 0);
        QVERIFY(boxes->boxes.isEmpty());
    }
};

QTEST_MAIN(CalculateTest)
#include "calculate_test.moc"
