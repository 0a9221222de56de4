#include "analysis/analysis_record.h"
#include "study/study.h"
#include "support/shown_content.h"
#include "support/test_seams.h"
#include "tests/analysis/support/method_results.h"
#include "tests/analysis/support/three_variable_project.h"
#include "ui/mnu_sens.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSvgWidget>
#include <QTableWidget>
#include <QTest>

using namespace zelmora;
using namespace zelmora::ui;

Q_DECLARE_METATYPE(zelmora::MethodResult)

namespace {

// The figures the window shows, by name, and their values.
QMap<QString, QString> ShownFigures(const TSensitivity& window) {
    QMap<QString, QString> shown;
    for (const auto& [name, label] : window.MethodFigures) {
        if (label->isVisibleTo(&window))
            shown[QString::fromStdString(name)] = label->text();
    }
    return shown;
}

// The pixels of the chart, drawn by Qt SVG, in the colour of its line.
int LinePixels(QSvgWidget& chart) {
    return test::PixelsOfColour(chart, qRgb(0x1f, 0x4e, 0x8c));
}

} // namespace

class SensitivityMethodTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
        QVERIFY2(screen.width() >= 1600 && screen.height() >= 1200,
                 "run on the large offscreen screen of support/large_screen.json");
    }

    void init() {
        test::ResetProjectState();
        zelmora::testing::SetThreeVariableProject();
    }

    void aSectionForTheMethodThatRan_data() {
        QTest::addColumn<MethodResult>("method");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("figures");
        QTest::addColumn<QStringList>("firstRow");
        QTest::addColumn<bool>("chart");
        QTest::newRow("Taylor") << zelmora::testing::TaylorResult()
                                << QStringLiteral("Taylor series")
                                << QStringList{"Beta=2.2003", "BetaLognormal=2.5046",
                                               "LognormalProbability=6.129E-0003",
                                               "Probability=1.389E-0002", "Runs=3"}
                                << QStringList{"Row 1 c, set 1", "0.1900", "0.0125", "69.7"}
                                << false;
        QTest::newRow("FORM")
            << zelmora::testing::FormResult() << QStringLiteral("FORM with lognormal strengths")
            << QStringList{"Beta=2.0512", "Converged=yes", "Iterations=3",
                           "Probability=2.012E-0002", "Runs=8"}
            << QString::fromUtf8("Row 1 c, set 1|kN/m²|10.0000|7.9012|0.9000|81.0").split('|')
            << true;
        QTest::newRow("FORM not converged")
            << zelmora::testing::UnsettledFormResult()
            << QStringLiteral("FORM with normal strengths: not converged")
            << QStringList{"Beta=2.0512", "Converged=no", "Iterations=10",
                           "Probability=2.012E-0002", "Runs=36"}
            << QString::fromUtf8("Row 1 c, set 1|kN/m²|10.0000|7.9012|0.9000|81.0").split('|')
            << true;
    }

    void aSectionForTheMethodThatRan() {
        QFETCH(MethodResult, method);
        QFETCH(QString, title);
        QFETCH(QStringList, figures);
        QFETCH(QStringList, firstRow);
        QFETCH(bool, chart);
        AnalysisRecord record;
        record.method = method;
        TSensitivity window;
        window.Record = &record;
        window.FormCreate();

        QCOMPARE(window.findChild<QGroupBox*>(QStringLiteral("GroupMethod")), window.GroupMethod);
        QVERIFY(window.GroupMethod->isVisibleTo(&window));
        QCOMPARE(window.GroupMethod->title(), title);
        QCOMPARE(window.LabelMethodNote->text().startsWith(QStringLiteral("Not converged in 10")),
                 !method.converged);
        QStringList shown;
        const QMap<QString, QString> values = ShownFigures(window);
        for (auto it = values.begin(); it != values.end(); ++it)
            shown << it.key() + "=" + it.value();
        QCOMPARE(shown, figures);
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("LabelMethodBeta")),
                 window.MethodFigures.at("Beta"));

        const QTableWidget& table = *window.TableMethod;
        QCOMPARE(table.objectName(), QStringLiteral("TableMethod"));
        QCOMPARE(table.rowCount(), 3);
        QCOMPARE(test::RowTexts(table, 0), firstRow);
        QVERIFY(table.item(0, 0)->textAlignment() & Qt::AlignLeft);
        QVERIFY(table.item(0, table.columnCount() - 1)->textAlignment() & Qt::AlignRight);
        QVERIFY(table.editTriggers() == QAbstractItemView::NoEditTriggers);

        QCOMPARE(window.ChartIterations->objectName(), QStringLiteral("ChartIterations"));
        QCOMPARE(window.ChartIterations->isVisibleTo(&window), chart);
        if (chart) {
            QVERIFY(window.ChartIterations->renderer()->isValid());
            QCOMPARE(window.ChartIterations->size(), QSize(480, 240));
            QVERIFY(LinePixels(*window.ChartIterations) > 300);
        }
        // The first-order figures stay as they are.
        QCOMPARE(window.Figures.at("Beta")->text(), QStringLiteral("2.1822"));

        // Where the screen has room, the window opens with the whole section in view.
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.Scroll->horizontalScrollBar()->maximum(), 0);
        QCOMPARE(window.Scroll->verticalScrollBar()->maximum(), 0);
    }

    // Filled each time the window opens: from the method now in the record, or none.
    void noSectionWithoutAMethod() {
        AnalysisRecord record;
        record.method = zelmora::testing::FormResult();
        TSensitivity window;
        window.FormCreate();
        QVERIFY(!window.GroupMethod->isVisibleTo(&window));
        window.Record = &record;
        window.FormCreate();
        QVERIFY(window.GroupMethod->isVisibleTo(&window));
        record.method = zelmora::testing::TaylorResult();
        window.FormCreate();
        QVERIFY(!window.ChartIterations->isVisibleTo(&window));
        QVERIFY(!window.MethodFigures.at("Iterations")->isVisibleTo(&window));
        QCOMPARE(window.TableMethod->columnCount(), 4);
        record.method.reset();
        window.FormCreate();
        QVERIFY(!window.GroupMethod->isVisibleTo(&window));
        window.Record = nullptr;
        window.FormCreate();
        QVERIFY(!window.GroupMethod->isVisibleTo(&window));
    }

    // A named row's variables carry the name in both tables; a row without one stays as it is.
    void setNamesFollowTheRowsTheyName() {
        ProjectStudy.settings.setNames = {{1, "clayey sand"}, {3, "unused"}};
        AnalysisRecord record;
        record.method = zelmora::testing::FormResult();
        TSensitivity window;
        window.Record = &record;
        window.FormCreate();
        QStringList rows;
        for (int r = 0; r < window.Table->rowCount(); ++r)
            rows << window.Table->item(r, 2)->text();
        QCOMPARE(rows, QStringList({"1 (clayey sand)", "1 (clayey sand)", "2"}));
        QStringList variables;
        for (int r = 0; r < window.TableMethod->rowCount(); ++r)
            variables << window.TableMethod->item(r, 0)->text();
        QCOMPARE(variables, QString::fromUtf8("Row 1 c, set 1 (clayey sand)|Row 1 φ, set 1 "
                                              "(clayey sand)|Row 2 c, set 4")
                                .split('|'));
        // Controls that would reorder the text (an override, an isolate) or restyle it are "?".
        ProjectStudy.settings.setNames = {{1, "sand\xe2\x80\xae\xe2\x81\xa6\x07\xc2\x85"}};
        window.FormCreate();
        QCOMPARE(window.Table->item(0, 2)->text(), QStringLiteral("1 (sand???"
                                                                  "?)"));
    }

    // The sampling check's section: its figures beside the method's probability, the sentence
    // when failed runs decide, and the chart only while the estimate's history is at hand.
    void aSectionForTheSamplingCheck() {
        AnalysisRecord record;
        record.method = zelmora::testing::FormResult();
        SamplingResult sampling;
        sampling.kind = SamplingKind::Importance;
        sampling.samples = 60;
        sampling.failures = 12;
        sampling.failedRuns = 2;
        sampling.errors = {"Run 2012: no result"};
        sampling.probability = 0.02;
        sampling.cov = 0.12;
        sampling.interval95 = {0.015, 0.025};
        sampling.bounds = {0.02, 0.05};
        sampling.failedRunsDecide = true;
        sampling.beta = 2.0537;
        sampling.history = {
            {20, 0.03, {0.01, 0.05}}, {40, 0.025, {0.015, 0.035}}, {60, 0.02, {0.015, 0.025}}};
        record.sampling = sampling;
        TSensitivity window;
        window.Record = &record;
        window.FormCreate();
        QVERIFY(window.GroupSampling->isVisibleTo(&window));
        QCOMPARE(window.GroupSampling->title(),
                 QStringLiteral("Importance sampling at the design point, seed 1"));
        QVERIFY(window.LabelSamplingNote->isVisibleTo(&window));
        const QString figures = window.LabelSampling->text();
        for (const char* shown : {"2.000E-0002", "FORM: 2.012E-0002", "1.500E-0002 to 2.500E-0002",
                                  "2.000E-0002 to 5.000E-0002", "Run 2012: no result", "2.0537"})
            QVERIFY2(figures.contains(QString::fromUtf8(shown)), shown);
        QVERIFY(window.ChartSampling->isVisibleTo(&window));
        // The estimate's line and, around it, its band.
        QVERIFY(LinePixels(*window.ChartSampling) > 150);
        QVERIFY(test::PixelsOfColour(*window.ChartSampling, qRgb(0xc9, 0xd8, 0xee)) > 5000);

        // Short of its target the check leaves FORM relied on; meeting it with two runs failed,
        // its upper bound is.
        QVERIFY2(
            window.LabelReliedOn->text().startsWith(QStringLiteral("Relied on: β 2.0512 by FORM")),
            qPrintable(window.LabelReliedOn->text()));
        record.sampling->stoppedByTarget = true;
        window.FormCreate();
        QVERIFY2(window.LabelReliedOn->text().startsWith(
                     QString::fromUtf8("Relied on: β 1.6449 by Sampling check, probability of "
                                       "failure 5.000E-0002. An upper bound: ")),
                 qPrintable(window.LabelReliedOn->text()));

        record.sampling->history.clear();
        record.sampling->failedRunsDecide = false;
        window.FormCreate();
        QVERIFY(!window.LabelSamplingNote->isVisibleTo(&window));
        QVERIFY(!window.ChartSampling->isVisibleTo(&window));
        record.sampling.reset();
        window.FormCreate();
        QVERIFY(!window.GroupSampling->isVisibleTo(&window));
    }

    // For the surrogate its learning by runs takes the place of the chart by samples, its
    // leave-one-out check below it; neither for Monte Carlo.
    void theSurrogatesLearningAndLeaveOneOutCharts() {
        AnalysisRecord record;
        record.method = zelmora::testing::FormResult();
        SamplingResult sampling;
        sampling.kind = SamplingKind::Surrogate;
        sampling.probability = 0.025;
        sampling.history = {{10000, 0.03, {0.02, 0.04}},
                            {10000, 0.028, {0.02, 0.035}},
                            {10000, 0.027, {0.022, 0.032}},
                            {10000, 0.027, {0.023, 0.031}}};
        SurrogateFacts facts;
        facts.methodRunsUsed = 8;
        facts.rounds = 4;
        facts.runsPerRound = {4, 2, 4, 4};
        facts.leaveOneOut = {{0.9, 0.95}, {1.1, 1.05}, {1.3, 1.4}};
        sampling.surrogate = facts;
        record.sampling = sampling;
        TSensitivity window;
        window.Record = &record;
        window.FormCreate();
        QCOMPARE(window.findChild<QSvgWidget*>(QStringLiteral("ChartLeaveOneOut")),
                 window.ChartLeaveOneOut);
        QVERIFY(window.ChartSampling->isVisibleTo(&window));
        QVERIFY(window.ChartLeaveOneOut->isVisibleTo(&window));
        QVERIFY(LinePixels(*window.ChartSampling) > 150);
        // F = 1 marked across and up.
        QVERIFY(test::PixelsOfColour(*window.ChartLeaveOneOut, qRgb(0xb2, 0x22, 0x22)) > 150);
        QVERIFY(window.LabelSampling->text().contains(QStringLiteral("0 of 3 training points")));

        // Without runs per round its history cannot be placed by runs: no chart by samples
        // stands in for it.
        record.sampling->surrogate->runsPerRound.clear();
        record.sampling->surrogate->leaveOneOut.clear();
        window.FormCreate();
        QVERIFY(!window.ChartSampling->isVisibleTo(&window));
        QVERIFY(!window.ChartLeaveOneOut->isVisibleTo(&window));

        record.sampling->kind = SamplingKind::MonteCarlo;
        record.sampling->surrogate.reset();
        window.FormCreate();
        QVERIFY(window.ChartSampling->isVisibleTo(&window));
        QVERIFY(!window.ChartLeaveOneOut->isVisibleTo(&window));
    }

    // Below the sampling chart, the sampled factors' figures and chart, where they were kept.
    void theDistributionOfTheFactorsBelowTheSamplingChart() {
        AnalysisRecord record;
        record.method = zelmora::testing::FormResult();
        SamplingResult sampling;
        sampling.samples = 4;
        sampling.probability = 0.25;
        sampling.history = {{4, 0.25, {0.05, 0.7}}};
        sampling.sampledFactors = {{0.9, 1}, {1.1, 1}, {1.3, 1}, {1.5, 1}};
        record.sampling = sampling;
        TSensitivity window;
        window.Record = &record;
        window.FormCreate();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.ChartDistribution->isVisibleTo(&window));
        QVERIFY(
            window.ChartDistribution->mapTo(&window, QPoint(0, 0)).y() >=
            window.ChartSampling->mapTo(&window, QPoint(0, window.ChartSampling->height())).y());
        const QString figures = window.LabelDistribution->text();
        for (const char* shown : {"Distribution of the safety factor", "Mean of F", "1.2000",
                                  "0.2236", "5 % quantile of F", "0.9000"})
            QVERIFY2(figures.contains(QString::fromUtf8(shown)), shown);
        QVERIFY(test::PixelsOfColour(*window.ChartDistribution, qRgb(0xc9, 0xd8, 0xee)) > 2000);

        record.sampling->sampledFactors.clear();
        window.FormCreate();
        QVERIFY(!window.ChartDistribution->isVisibleTo(&window));
        QVERIFY(!window.LabelDistribution->isVisibleTo(&window));
    }
};

QTEST_MAIN(SensitivityMethodTest)
#include "sensitivity_method_test.moc"
