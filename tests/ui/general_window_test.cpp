#include "project/project_state.h"
#include "study/study.h"
#include "support/test_seams.h"
#include "ui/mnu_gen.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

using namespace zelmora;
using namespace zelmora::ui;

// A path whose bytes are not UTF-8 (Latin-1 "é" and "à").
static const std::string latin1Path = "c:\\d\xe9j\xe0\\batch.exe";

class GeneralWindowTest : public QObject {
    Q_OBJECT

    // Types into a field as a user does, so the field counts as edited.
    static void Type(QLineEdit* field, const QString& text) {
        field->setText(text);
        field->setModified(true);
    }

private slots:
    void init() { test::ResetProjectState(); }

    void startUpShowsDefaults() {
        TGeneralForm form;
        QCOMPARE(form.windowTitle(), QStringLiteral("General"));
        QCOMPARE(form.findChild<QLineEdit*>("Edit1")->text(),
                 QStringLiteral("c:\\program files\\Plaxis8x\\batch.exe"));
        QCOMPARE(form.findChild<QLineEdit*>("Edit2")->text(),
                 QStringLiteral("c:\\progs\\zelmora\\plaxis\\test.plx"));
        QCOMPARE(form.findChild<QLineEdit*>("Edit3")->text(), QStringLiteral("test"));
        QCOMPARE(form.findChild<QLineEdit*>("Edit4")->text(), QStringLiteral("  1.0000"));
        QVERIFY(form.findChild<QCheckBox*>("CheckBox")->isChecked());
        QCOMPARE(form.CheckBox->text(), QStringLiteral("Show Calculations"));
        for (const char* name :
             {"ButtonOK", "ButtonCancel", "ButtonChangePlax", "ButtonChangeProj"})
            QVERIFY2(form.findChild<QPushButton*>(name), name);
    }

    void layoutShowsGreekLetters() {
        TGeneralForm form;
        QStringList texts;
        for (const QLabel* label : form.findChildren<QLabel*>())
            texts << label->text();
        QVERIFY(texts.contains(QStringLiteral("times σ")));
        QVERIFY(texts.contains(QStringLiteral(
            "(Sensitivity is calculated with μ minus \"Stepsize\" times σ. If the Safety Factor "
            "drops below \"1\"; reduce stepsize)")));
    }

    void fillShowsState() {
        State.BatchPath = "/opt/plaxis/batch";
        State.ProjectPath = "/home/p/slope.plx";
        State.ProjectName = "slope";
        State.StepSize = 0.25;
        State.ShowCalculations = false;
        TGeneralForm form;
        QCOMPARE(form.Edit1->text(), QStringLiteral("/opt/plaxis/batch"));
        QCOMPARE(form.Edit2->text(), QStringLiteral("/home/p/slope.plx"));
        QCOMPARE(form.Edit3->text(), QStringLiteral("slope"));
        QCOMPARE(form.Edit4->text(), QStringLiteral("  0.2500"));
        QVERIFY(!form.CheckBox->isChecked());
        State.StepSize = 1234.5;
        form.FormCreate();
        QCOMPARE(form.Edit4->text(), QStringLiteral("1234.5000"));
    }

    void okStoresEveryControl() {
        TGeneralForm form;
        form.show();
        Type(form.Edit1, QStringLiteral(" /opt/batch "));
        Type(form.Edit2, QStringLiteral("/data/ünï.plx"));
        Type(form.Edit3, QString());
        Type(form.Edit4, QStringLiteral("0.5"));
        form.CheckBox->setChecked(false);
        form.ButtonOKClick();
        QVERIFY(!form.isVisible());
        QCOMPARE(State.BatchPath, std::string(" /opt/batch "));
        QCOMPARE(State.ProjectPath, std::string("/data/\xc3\xbcn\xc3\xaf.plx"));
        QCOMPARE(State.ProjectName, std::string());
        QCOMPARE(State.StepSize, 0.5);
        QVERIFY(!State.ShowCalculations);
        form.FormCreate();
        QVERIFY(!form.CheckBox->isChecked());
    }

    // The sampling check is the project's: shown from the study, stored into it on OK, and a
    // target or seed that is not valid keeps the window open with an error box.
    void samplingControlsEditTheStudy() {
        ProjectStudy.settings.sampling = {SamplingKind::Importance, 300, 0.05, 42};
        test::RecordingMessageBoxes boxes;
        TGeneralForm form;
        QCOMPARE(form.ComboSampling->currentText(), QStringLiteral("Importance sampling"));
        QCOMPARE(form.SpinSamples->value(), 300);
        QCOMPARE(form.EditTargetCov->text(), QStringLiteral("0.05"));
        QCOMPARE(form.EditSeed->text(), QStringLiteral("42"));
        form.show();
        form.ComboSampling->setCurrentIndex(2);
        form.SpinSamples->setValue(1000);
        Type(form.EditSeed, QStringLiteral("18446744073709551615"));
        for (const QString& target :
             {QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("x")}) {
            Type(form.EditTargetCov, target);
            form.ButtonOKClick();
            QVERIFY(form.isVisible());
            QCOMPARE(ProjectStudy.settings.sampling.kind, SamplingKind::Importance);
        }
        Type(form.EditTargetCov, QStringLiteral("0.2"));
        Type(form.EditSeed, QStringLiteral("18446744073709551616"));
        form.ButtonOKClick();
        QVERIFY(form.isVisible());
        QCOMPARE(boxes.boxes.size(), 4);
        QVERIFY(boxes.boxes[3].text.startsWith(QStringLiteral("Seed:")));
        Type(form.EditSeed, QStringLiteral("18446744073709551615"));
        form.ButtonOKClick();
        QVERIFY(!form.isVisible());
        const SamplingSettings& stored = ProjectStudy.settings.sampling;
        QCOMPARE(stored.kind, SamplingKind::MonteCarlo);
        QCOMPARE(stored.samples, 1000);
        QCOMPARE(stored.targetCov, 0.2);
        QCOMPARE(stored.seed, std::uint64_t(18446744073709551615ULL));
    }

    // Below the other controls: filled from the study, stored by OK, kept by Cancel.
    void signOffControlsEditTheStudy() {
        ProjectStudy.settings.signOff = {"Cut 12", "Städtische Werke", "", ""};
        TGeneralForm form;
        QCOMPARE(form.EditJob->text(), QStringLiteral("Cut 12"));
        QCOMPARE(form.EditClient->text(), QString::fromUtf8("Städtische Werke"));
        QCOMPARE(form.EditPreparedBy->text(), QString());
        form.show();
        Type(form.EditPreparedBy, QStringLiteral("A. Eng"));
        form.ButtonCancelClick();
        QCOMPARE(ProjectStudy.settings.signOff.preparedBy, std::string());
        form.show();
        Type(form.EditCheckedBy, QString::fromUtf8("B. Prüfer"));
        form.ButtonOKClick();
        QVERIFY(!form.isVisible());
        QCOMPARE(ProjectStudy.settings.signOff.preparedBy, std::string("A. Eng"));
        QCOMPARE(ProjectStudy.settings.signOff.checkedBy, std::string("B. Prüfer"));
        QCOMPARE(ProjectStudy.settings.signOff.job, std::string("Cut 12"));
        const QWidget* job = form.EditJob;
        QVERIFY(job->geometry().top() > form.CheckBox->geometry().bottom());
        QVERIFY(job->geometry().bottom() < form.ButtonOK->geometry().top());
    }

    // The surrogate is the fourth choice; its runs per round and most runs come from the study
    // and go back into it.
    void surrogateControlsEditTheStudy() {
        ProjectStudy.settings.sampling = {SamplingKind::Surrogate, 500, 0.03, 1, 8, 150};
        TGeneralForm form;
        QCOMPARE(form.ComboSampling->currentText(), QStringLiteral("Surrogate"));
        QCOMPARE(form.SpinBatch->value(), 8);
        QCOMPARE(form.SpinMaxRuns->value(), 150);
        QCOMPARE(form.SpinBatch->maximum(), 64);
        QCOMPARE(form.SpinMaxRuns->minimum(), 20);
        form.show();
        form.SpinBatch->setValue(2);
        form.SpinMaxRuns->setValue(400);
        form.ButtonOKClick();
        QVERIFY(!form.isVisible());
        const SamplingSettings& stored = ProjectStudy.settings.sampling;
        QCOMPARE(stored.kind, SamplingKind::Surrogate);
        QCOMPARE(stored.batch, 2);
        QCOMPARE(stored.maxRuns, 400);
        QCOMPARE(stored.targetCov, 0.03);
    }

    void uneditedFieldsKeepTheirBytes() {
        State.BatchPath = latin1Path;
        State.ProjectName = "n\xff";
        TGeneralForm form;
        Type(form.Edit2, QStringLiteral("/p.plx"));
        form.ButtonOKClick();
        QCOMPARE(State.BatchPath, latin1Path);
        QCOMPARE(State.ProjectName, std::string("n\xff"));
        QCOMPARE(State.ProjectPath, std::string("/p.plx"));
    }

    void stepSizeIsClamped_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("stored");
        QTest::newRow("above 1") << "5" << 1.0;
        QTest::newRow("below 0.1") << "0.05" << 0.1;
        QTest::newRow("negative") << "-1" << 0.1;
        QTest::newRow("lower bound") << "0.1" << 0.1;
        QTest::newRow("upper bound") << "1" << 1.0;
        QTest::newRow("inside") << "0.35" << 0.35;
        QTest::newRow("empty") << "" << 0.1;
        QTest::newRow("trailing blank") << "0.5 " << 0.5;
        QTest::newRow("tab and line end") << "\t0.25\n" << 0.25;
        QTest::newRow("point only") << "." << 0.1;
        QTest::newRow("exponent only") << "E5" << 0.1;
        QTest::newRow("shown form") << "  0.7500" << 0.75;
    }

    void stepSizeIsClamped() {
        QFETCH(QString, text);
        QFETCH(double, stored);
        test::RecordingMessageBoxes boxes;
        TGeneralForm form;
        Type(form.Edit4, text);
        form.ButtonOKClick();
        QVERIFY(boxes.boxes.isEmpty());
        QCOMPARE(State.StepSize, stored);
    }

    void okRefusesStepSize_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("comma") << "0,5";
        QTest::newRow("letters") << "abc";
        QTest::newRow("no exponent digit") << "1e";
        QTest::newRow("inner blank") << "0. 5";
        QTest::newRow("overflow") << "1e400";
    }

    void okRefusesStepSize() {
        QFETCH(QString, text);
        test::RecordingMessageBoxes boxes;
        TGeneralForm form;
        form.show();
        Type(form.Edit1, QStringLiteral("/new/batch"));
        Type(form.Edit4, text);
        form.CheckBox->setChecked(false);
        form.ButtonOKClick();
        QCOMPARE(boxes.boxes.size(), 1);
        QCOMPARE(boxes.boxes[0].kind, MessageKind::Error);
        QCOMPARE(boxes.boxes[0].buttons, MessageButtons::Ok);
        QCOMPARE(boxes.boxes[0].text,
                 QStringLiteral("Step size: \"%1\" is not a number.").arg(text));
        QVERIFY(form.isVisible());
        QCOMPARE(State.BatchPath, std::string("c:\\program files\\Plaxis8x\\batch.exe"));
        QCOMPARE(State.StepSize, 1.0);
        QVERIFY(State.ShowCalculations);
    }

    void targetBetaIsStoredOrRefused_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("stored");
        QTest::addColumn<QString>("message"); // empty: no box
        QTest::newRow("decimal") << "3.5" << 3.5 << "";
        QTest::newRow("zero") << "0" << 3.0 << "Target β: give a number above 0 and up to 10.";
        QTest::newRow("above 10") << "12" << 3.0 << "Target β: give a number above 0 and up to 10.";
        QTest::newRow("letters") << "x" << 3.0 << "Target β: \"x\" is not a number.";
    }

    void targetBetaIsStoredOrRefused() {
        QFETCH(QString, text);
        QFETCH(double, stored);
        QFETCH(QString, message);
        test::RecordingMessageBoxes boxes;
        TGeneralForm form;
        QCOMPARE(form.EditTargetBeta->text(), QStringLiteral("3.0000"));
        Type(form.EditTargetBeta, text);
        form.ButtonOKClick();
        QCOMPARE(boxes.boxes.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QCOMPARE(boxes.boxes[0].text, message);
        QCOMPARE(ProjectStudy.settings.targetBeta, stored);
    }

    void cancelStoresNothing() {
        TGeneralForm form;
        form.show();
        Type(form.Edit3, QStringLiteral("other"));
        Type(form.Edit4, QStringLiteral("0.5"));
        QTest::mouseClick(form.ButtonCancel, Qt::LeftButton);
        QVERIFY(!form.isVisible());
        QCOMPARE(State.ProjectName, std::string("test"));
        QCOMPARE(State.StepSize, 1.0);
    }

    void changeConfirmedStoresAtOnce_data() {
        QTest::addColumn<bool>("project");
        QTest::newRow("batch calculator") << false;
        QTest::newRow("project file") << true;
    }

    void changeConfirmedStoresAtOnce() {
        QFETCH(bool, project);
        test::ScriptedFileDialogs dialogs;
        TGeneralForm form;
        Type(form.Edit1, QStringLiteral("typed, not confirmed"));
        Type(form.Edit4, QStringLiteral("0.3"));
        dialogs.Confirm(QStringLiteral("/chosen/file"));
        QTest::mouseClick(project ? form.ButtonChangeProj : form.ButtonChangePlax, Qt::LeftButton);

        QCOMPARE(dialogs.dialogs.size(), 1);
        QCOMPARE(dialogs.dialogs[0].presetFileName,
                 project ? QStringLiteral("c:\\progs\\zelmora\\plaxis\\test.plx")
                         : QStringLiteral("c:\\program files\\Plaxis8x\\batch.exe"));
        const QStringList filters = project ? QStringList{"Project.plx (*.plx)", "all (*)"}
                                            : QStringList{"Batch.exe (*.exe)", "all (*)"};
        QCOMPARE(dialogs.dialogs[0].filters, filters);
        QCOMPARE(project ? State.ProjectPath : State.BatchPath, std::string("/chosen/file"));
        QVERIFY(form.isVisible());
        QCOMPARE(form.Edit4->text(), QStringLiteral("  1.0000"));
        QCOMPARE(form.Edit1->text(), QString::fromStdString(State.BatchPath));

        form.ButtonCancelClick();
        QCOMPARE(project ? State.ProjectPath : State.BatchPath, std::string("/chosen/file"));
    }

    void changeCancelledRefills() {
        test::RecordingMessageBoxes boxes;
        test::ScriptedFileDialogs dialogs;
        State.BatchPath = latin1Path;
        TGeneralForm form;
        Type(form.Edit4, QStringLiteral("0.3"));
        dialogs.Cancel();
        form.ButtonChangePlaxClick();
        QVERIFY(boxes.boxes.isEmpty());
        QCOMPARE(State.BatchPath, latin1Path);
        QCOMPARE(form.Edit4->text(), QStringLiteral("  1.0000"));
        QVERIFY(form.isVisible());
    }

    void changeCancelledWithEmptyPath() {
        test::RecordingMessageBoxes boxes;
        test::ScriptedFileDialogs dialogs;
        State.ProjectPath.clear();
        TGeneralForm form;
        Type(form.Edit4, QStringLiteral("0.3"));
        dialogs.Cancel();
        form.ButtonChangeProjClick();
        QCOMPARE(boxes.boxes.size(), 1);
        QCOMPARE(boxes.boxes[0].kind, MessageKind::Error);
        QCOMPARE(boxes.boxes[0].text, QStringLiteral("No file selected !"));
        QCOMPARE(State.ProjectPath, std::string());
        QCOMPARE(form.Edit4->text(), QStringLiteral("0.3"));
        QVERIFY(!form.isVisible());
    }
};

QTEST_MAIN(GeneralWindowTest)
#include "general_window_test.moc"
