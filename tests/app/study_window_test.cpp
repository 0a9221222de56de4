// The study file in the desktop program: what an analysis showed comes back after Save as and
// Open, a changed project file keeps the settings only, an unreadable study leaves the project
// opened.
#include "app/mnu_main.h"
#include "app/startup.h"
#include "project/project_state.h"
#include "report/html/html_method_section.h"
#include "report/html/html_report.h"
#include "study/study.h"
#include "support/test_seams.h"
#include "ui/mnu_gen.h"
#include "ui/mnu_out.h"
#include "ui/mnu_sens.h"
#include "ui/scr_calc.h"

#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <memory>

using namespace zelmora;
using namespace zelmora::ui;

Q_DECLARE_METATYPE(zelmora::Method)
Q_DECLARE_METATYPE(zelmora::StrengthDistribution)

namespace {

// What the windows and the report show of an analysis.
struct Shown {
    QString methodLine;
    QString methodProbability;
    QString sectionTitle;
    QStringList figures;
    std::string reportSection;
    bool sectionVisible = false;

    bool operator==(const Shown&) const = default;
};

} // namespace

class StudyWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir settingsFolder;
    std::unique_ptr<Program> program;
    std::unique_ptr<test::RecordingMessageBoxes> boxes;
    std::unique_ptr<test::ScriptedFileDialogs> dialogs;
    std::unique_ptr<QTemporaryDir> folder;

    TMainForm& Main() { return *program->main; }
    QString File(const QString& name) const { return folder->filePath(name); }

    void PrepareProject() {
        QVERIFY(QDir(folder->path()).mkdir("slope.dta"));
        QFile model(File("slope.dta/model.txt"));
        QVERIFY(model.open(QIODevice::WriteOnly));
        model.write("base 0.3\nterm 1 3 2.0 0.5\nterm 1 4 0.05 10\n");
        model.close();
        QFile project(File("slope.plx"));
        QVERIFY(project.open(QIODevice::WriteOnly));
        State.BatchPath = ZELMORA_FAKE_CALCULATOR;
        State.ProjectPath = QFile::encodeName(File("slope.plx")).toStdString();
        State.ProjectName = "slope";
        State.StepSize = 0.5;
        Row(State, 1) = {1, 30.0, 3.0, 10.0, 2.0};
    }

    Shown WhatIsShown() {
        TOutMenu& out = *program->out;
        out.FormCreate();
        TSensitivity& sensitivity = *out.Sensitivity;
        sensitivity.FormCreate();
        Shown shown{out.LabelMethodResult->isVisibleTo(&out) ? out.LabelMethodResult->text()
                                                             : QString(),
                    program->calc->LabelMethodPF->text(),
                    sensitivity.GroupMethod->title(),
                    {},
                    MethodSectionHtml(sensitivity.Record, State.SoilTable),
                    sensitivity.GroupMethod->isVisibleTo(&sensitivity)};
        for (const auto& [name, label] : sensitivity.MethodFigures)
            shown.figures.append(label->text());
        return shown;
    }

    // Saves the analysis of `method` as slope.zmo and clears what this session knows of it.
    void AnalyseAndSave(Method method, StrengthDistribution strengths) {
        PrepareProject();
        ProjectStudy.settings = {method, strengths, {}, {}, {}, 3.0, {}};
        Main().CalcClick();
        QVERIFY(boxes->boxes.isEmpty());
        dialogs->Confirm(File("slope.zmo"));
        Main().Saveas2->trigger();
        QVERIFY(boxes->boxes.isEmpty());
    }

    void Open() {
        test::ResetProjectState();
        Main().LastAnalysis = {};
        program->out->Sensitivity->Record = nullptr;
        dialogs->Confirm(File("slope.zmo"));
        Main().Open2->trigger();
        QVERIFY(boxes->boxes.isEmpty());
    }

private slots:
    void initTestCase() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder.path());
    }

    void init() {
        test::ResetProjectState();
        program = std::make_unique<Program>();
        boxes = std::make_unique<test::RecordingMessageBoxes>();
        dialogs = std::make_unique<test::ScriptedFileDialogs>();
        folder = std::make_unique<QTemporaryDir>();
    }

    void cleanup() {
        dialogs.reset();
        boxes.reset();
        program.reset();
        folder.reset();
    }

    void everyMethodIsShownAgainAfterOpen_data() {
        QTest::addColumn<Method>("method");
        QTest::addColumn<StrengthDistribution>("strengths");
        QTest::addColumn<QString>("line");
        QTest::newRow("first order")
            << Method::FirstOrder << StrengthDistribution::Normal << QString();
        QTest::newRow("Taylor") << Method::Taylor << StrengthDistribution::Normal
                                << QStringLiteral("Taylor series: β ");
        QTest::newRow("FORM") << Method::Form << StrengthDistribution::Lognormal
                              << QStringLiteral("FORM: β ");
    }

    void everyMethodIsShownAgainAfterOpen() {
        QFETCH(Method, method);
        QFETCH(StrengthDistribution, strengths);
        QFETCH(QString, line);
        AnalyseAndSave(method, strengths);
        const Shown analysed = WhatIsShown();
        QVERIFY(analysed.methodLine.startsWith(line));
        QCOMPARE(analysed.sectionVisible, !line.isEmpty());
        QCOMPARE(analysed.methodProbability.isEmpty(), line.isEmpty());
        Open();
        QCOMPARE(WhatIsShown(), analysed);
        QCOMPARE(program->calc->LabelProgress->text(), QString());
        program->general->FormCreate();
        QCOMPARE(program->general->ComboMethod->currentIndex(), static_cast<int>(method));
        QCOMPARE(program->general->ComboStrengths->currentIndex(), static_cast<int>(strengths));
    }

    // The runs in the report come back too, with their exit statuses, times and pictures.
    void theReportShowsTheSavedRunsAgain() {
        AnalyseAndSave(Method::Form, StrengthDistribution::Normal);
        AnalysisRecord analysed = Main().LastAnalysis;
        analysed.batchCommandLine.clear();
        const std::string report = HtmlReport(State.CurrentFileName, State, &analysed, 0);
        Open();
        QCOMPARE(HtmlReport(State.CurrentFileName, State, program->out->Sensitivity->Record, 0),
                 report);
    }

    // A changed project file keeps the settings, an unreadable study not even those; either way
    // no result of the study is shown, the project is opened and the note is on the progress
    // line.
    void aStudyNotTakenWholeIsNamedOnTheProgressLine_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("appended");
        QTest::addColumn<Method>("method");
        QTest::addColumn<QString>("note");
        QTest::newRow("project file changed")
            << "slope.zmo" << QByteArray("\r\n") << Method::Form
            << " does not match the project file; its settings are kept, its results are not.";
        QTest::newRow("study unreadable")
            << "slope.study.json" << QByteArray("junk") << Method::FirstOrder
            << " cannot be read (it is not JSON); the project is opened without it.";
    }

    void aStudyNotTakenWholeIsNamedOnTheProgressLine() {
        QFETCH(QString, file);
        QFETCH(QByteArray, appended);
        QFETCH(Method, method);
        QFETCH(QString, note);
        AnalyseAndSave(Method::Form, StrengthDistribution::Lognormal);
        const double beta = State.Beta;
        QFile changed(File(file));
        QVERIFY(changed.open(QIODevice::Append));
        changed.write(appended);
        changed.close();
        Open();
        QVERIFY(std::abs(State.Beta - beta) < 1e-6);
        const Shown shown = WhatIsShown();
        QVERIFY(!shown.sectionVisible);
        QCOMPARE(shown.methodLine, QString());
        QCOMPARE(shown.methodProbability, QString());
        QCOMPARE(ProjectStudy.settings.method, method);
        QCOMPARE(program->calc->LabelProgress->text(),
                 QStringLiteral("The study file ") + File("slope.study.json") + note);
    }

    // What the study held stays on disk: Save keeps the unreadable file aside and says so on
    // the progress line, and writes nothing when the name it would take is taken.
    void saveKeepsAnUnreadableStudyAside() {
        AnalyseAndSave(Method::Form, StrengthDistribution::Lognormal);
        const QString study = File("slope.study.json");
        const QString kept = study + QStringLiteral(".unreadable");
        const auto appendJunk = [&study] {
            QFile file(study);
            QVERIFY(file.open(QIODevice::Append));
            file.write("junk");
        };
        const auto bytes = [](const QString& name) {
            QFile file(name);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        appendJunk();
        const QByteArray unreadable = bytes(study);
        Open();
        dialogs->Confirm(File("slope.zmo"));
        Main().Saveas2->trigger();
        QVERIFY(boxes->boxes.isEmpty());
        QVERIFY(program->calc->LabelProgress->text().endsWith(
            QStringLiteral("The study file ") + study +
            QStringLiteral(" could not be read (it is not JSON); it is kept as ") + kept +
            QStringLiteral(".")));
        QCOMPARE(bytes(kept), unreadable);

        appendJunk();
        const QByteArray before = bytes(study);
        dialogs->Confirm(File("slope.zmo"));
        Main().Saveas2->trigger();
        QCOMPARE(boxes->boxes.size(), 1);
        QVERIFY(boxes->boxes.front().text.contains(study + QStringLiteral(" cannot be read")));
        QVERIFY(boxes->boxes.front().text.contains(kept));
        QCOMPARE(bytes(study), before);
        QCOMPARE(bytes(kept), unreadable);
    }
};

QTEST_MAIN(StudyWindowTest)
#include "study_window_test.moc"
