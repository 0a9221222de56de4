#include "analysis/analysis_record.h"
#include "app/startup.h"
#include "project/project_file.h"
#include "project/project_state.h"
#include "report/runs_csv.h"
#include "support/shown_content.h"
#include "support/test_seams.h"
#include "tests/analysis/support/three_variable_project.h"
#include "ui/browser.h"
#include "ui/mnu_out.h"
#include "ui/mnu_sens.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSvgWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace zelmora;
using namespace zelmora::ui;

namespace {

// Records the pages that would have been opened; answers as told.
class RecordingBrowser : public Browser {
public:
    RecordingBrowser() { InstallBrowser(this); }
    ~RecordingBrowser() override { InstallBrowser(nullptr); }
    RecordingBrowser(const RecordingBrowser&) = delete;
    RecordingBrowser& operator=(const RecordingBrowser&) = delete;

    bool Open(const QUrl& url) override {
        opened << url;
        return opens;
    }

    QList<QUrl> opened;
    bool opens = true;
};

QString Figure(const TSensitivity& window, const char* name) {
    const auto* label = window.findChild<QLabel*>(QStringLiteral("Label") + name);
    if (!label)
        qFatal("no label %s", name);
    return label->text();
}

// The pixels of the chart, drawn by Qt SVG, in the φ colour.
int FrictionPixels(QSvgWidget& chart) {
    return test::PixelsOfColour(chart, qRgb(0x1f, 0x4e, 0x8c));
}

const QString ExpectedCopy = QString::fromUtf8(
    "No.\tVariable\tRow\tSet\tParameter\tMean\tStd. dev.\tReduced value\tReduced angle (°)\t"
    "Safety factor\tSensitivity\tShare (%)\n"
    "2\t11\t1\t1\tc\t10.0000\t2.0000\t8.0000\t—\t1.3000\t0.2000\t76.2\n"
    "1\t1\t1\t1\tφ\t30.0000\t3.0000\t0.4477\t26.59\t1.4000\t0.1000\t19.0\n"
    "3\t12\t2\t4\tc\t5.0000\t1.0000\t4.0000\t—\t1.5500\t-0.0500\t-4.8\n");

} // namespace

class SensitivityWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        test::ResetProjectState();
        zelmora::testing::SetThreeVariableProject();
    }

    void openedFromTheOutputWindowAndFilledEachTime() {
        TOutMenu out;
        QCOMPARE(out.ButtonSensitivity->text(), QStringLiteral("Sensitivity..."));
        QCOMPARE(out.ButtonSensitivity->objectName(), QStringLiteral("ButtonSensitivity"));
        QVERIFY(!out.Sensitivity->isVisible());
        QTest::mouseClick(out.ButtonSensitivity, Qt::LeftButton);
        QVERIFY(out.Sensitivity->isVisible());
        QCOMPARE(out.Sensitivity->windowTitle(), QStringLiteral("Sensitivity"));
        QCOMPARE(out.Sensitivity->Table->rowCount(), 3);
        QCOMPARE(out.Sensitivity->Table->item(0, 1)->text(), QStringLiteral("11"));

        Entry(State.SafetyFactors, 1) = 1.0; // row 1 φ now has the largest share
        QCOMPARE(out.Sensitivity->Table->item(0, 1)->text(), QStringLiteral("11"));
        QTest::mouseClick(out.ButtonSensitivity, Qt::LeftButton);
        QCOMPARE(out.Sensitivity->Table->item(0, 1)->text(), QStringLiteral("1"));
    }

    // The texts are the core's (tested there); the window shows them as they come.
    void tableAndFigures() {
        TSensitivity window;
        window.FormCreate();
        const QTableWidget& table = *window.Table;
        QCOMPARE(table.columnCount(), 12);
        QCOMPARE(table.horizontalHeaderItem(8)->text(), QString::fromUtf8("Reduced angle (°)"));
        QCOMPARE(test::RowTexts(table, 1),
                 QString::fromUtf8("1 1 1 1 φ 30.0000 3.0000 0.4477 26.59 "
                                   "1.4000 0.1000 19.0")
                     .split(' '));
        QVERIFY(table.item(0, 4)->textAlignment() & Qt::AlignHCenter);
        QVERIFY(table.item(0, 10)->textAlignment() & Qt::AlignRight);
        QVERIFY(table.editTriggers() == QAbstractItemView::NoEditTriggers);
        QCOMPARE(Figure(window, "Beta"), QStringLiteral("2.1822"));
        QCOMPARE(Figure(window, "LognormalProbability"), QStringLiteral("4.746E-0003"));
        QVERIFY(window.LabelReading->text().startsWith(QStringLiteral("Close to 1:")));
    }

    // ρ(φ1, c1) = -0.5: σ_F² = 0.0525 - 0.02, β = 0.5 / √0.0325; shown for an analysis with
    // correlations only.
    void betaWithCorrelationsBesideTheFirstOrderOne() {
        TSensitivity window;
        AnalysisRecord record;
        window.Record = &record;
        window.FormCreate();
        QVERIFY(window.BoxCorrelated->isHidden());
        record.correlations = {{1, 11, -0.5, -0.5}};
        window.FormCreate();
        QVERIFY(!window.BoxCorrelated->isHidden());
        QCOMPARE(window.findChild<QLabel*>("LabelBetaCorrelated")->text(),
                 QStringLiteral("2.7735"));
        QCOMPARE(window.findChild<QLabel*>("LabelProbabilityCorrelated")->text(),
                 QStringLiteral("2.773E-0003"));
        QCOMPARE(Figure(window, "Beta"), QStringLiteral("2.1822"));
    }

    // Opened as large as its content where the screen has room, never larger than the screen:
    // twenty variables scroll. The offscreen screen is 800 pixels wide, narrower than the table.
    void windowFitsTheScreen() {
        const QSize room = QGuiApplication::primaryScreen()->availableGeometry().size();
        TSensitivity small;
        small.FormCreate();
        small.show();
        QVERIFY(QTest::qWaitForWindowExposed(&small));
        QVERIFY(small.width() <= room.width());
        QCOMPARE(small.Scroll->verticalScrollBar()->maximum(), 0);

        for (int row = 1; row <= 10; ++row) {
            Row(State, row) = {row, 30, 3, 10, 2};
            Entry(State.SafetyFactors, row) = 1.5 - 0.01 * row;
            Entry(State.SafetyFactors, row + 10) = 1.45 - 0.01 * row;
        }
        TSensitivity large;
        large.FormCreate();
        large.show();
        QVERIFY(QTest::qWaitForWindowExposed(&large));
        QCOMPARE(large.Table->rowCount(), 20);
        QVERIFY(large.height() <= room.height());
        QVERIFY(large.width() <= room.width());
        QVERIFY(large.Scroll->verticalScrollBar()->maximum() > 0);
        QVERIFY(large.ButtonClose->isVisible());
    }

    void chartDrawnByQtSvg() {
        TSensitivity window;
        window.FormCreate();
        QVERIFY(window.Chart->renderer()->isValid());
        QCOMPARE(window.Chart->renderer()->defaultSize(), QSize(640, 130));
        QCOMPARE(window.Chart->size(), QSize(640, 130));
        // Row 1 φ's bar: 19 % of the bars' width, 16 high, less its outline.
        const int pixels = FrictionPixels(*window.Chart);
        QVERIFY2(pixels > 1000 && pixels < 2000, qPrintable(QString::number(pixels)));
    }

    void withoutAResultEveryDerivedValueIsADash() {
        Entry(State.SafetyFactors, 0) = 0;
        TSensitivity window;
        window.FormCreate();
        for (const char* name : {"ExactProbability", "BetaLognormal", "LognormalProbability",
                                 "SigmaF", "Cov", "Linearity"})
            QCOMPARE(Figure(window, name), QString::fromUtf8("—"));
        QCOMPARE(window.Table->item(0, 11)->text(), QString::fromUtf8("—"));
        QVERIFY(window.Chart->renderer()->isValid());
        QCOMPARE(FrictionPixels(*window.Chart), 0);
        QCOMPARE(window.LabelReading->text(),
                 QStringLiteral("No linearity: the analysis did not run to its end."));
    }

    void copyPutsTheShownTableOnTheClipboard() {
        TSensitivity window;
        window.FormCreate();
        Entry(State.SafetyFactors, 1) = 1.0; // not shown until the window is filled again
        QTest::mouseClick(window.ButtonCopy, Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), ExpectedCopy);
    }

    void reportWrittenAndOpened() {
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("slope report.html"));
        test::ScriptedFileDialogs dialogs;
        test::RecordingMessageBoxes boxes;
        RecordingBrowser browser;
        dialogs.Confirm(file);
        State.CurrentFileName = QFile::encodeName(folder.filePath("slope.zmo")).toStdString();
        TSensitivity window;
        window.FormCreate();

        QTest::mouseClick(window.ButtonReport, Qt::LeftButton);

        QCOMPARE(window.ButtonReport->text(), QStringLiteral("Report..."));
        QCOMPARE(dialogs.dialogs.size(), 1);
        QCOMPARE(dialogs.dialogs[0].mode, FileDialog::Mode::Save);
        QCOMPARE(dialogs.dialogs[0].presetFileName, folder.filePath("slope.html"));
        QCOMPARE(dialogs.dialogs[0].filters,
                 QStringList({QStringLiteral("HTML files (*.html)"), QStringLiteral("all (*)")}));
        QCOMPARE(browser.opened, QList<QUrl>{QUrl::fromLocalFile(file)});
        QVERIFY(boxes.boxes.isEmpty());
        QFile written(file);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QByteArray page = written.readAll();
        QVERIFY(page.startsWith("<!DOCTYPE html>"));
        QVERIFY(page.contains("<title>slope.zmo</title>"));
        QVERIFY(!page.contains(QFile::encodeName(folder.path())));
        QVERIFY(!page.contains("Exit status"));
    }

    void reportOfAnAnalysisRunHere() {
        QTemporaryDir folder;
        test::ScriptedFileDialogs dialogs;
        RecordingBrowser browser;
        dialogs.Confirm(folder.filePath(QStringLiteral("r.html")));
        AnalysisRecord record;
        record.outcomes.push_back({});
        record.outcomes.back().picture = "<svg xmlns=\"http://www.w3.org/2000/svg\"/>";
        TSensitivity window;
        window.Record = &record;
        window.ButtonReportClick();
        QCOMPARE(dialogs.dialogs[0].presetFileName, QStringLiteral("zelmora-report.html"));
        QFile written(folder.filePath(QStringLiteral("r.html")));
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QByteArray page = written.readAll();
        QVERIFY(page.contains("Exit status"));
        QVERIFY(page.contains("data:image/svg+xml;base64,"));
        // The runs whole beside the report.
        QFile csv(folder.filePath(QStringLiteral("r.csv")));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QCOMPARE(csv.readAll(), QByteArray::fromStdString(RunsCsv(State, record)));
        QVERIFY(csv.fileName().endsWith(QStringLiteral("r.csv")));
    }

    void reportCancelledWritesNothing() {
        test::ScriptedFileDialogs dialogs;
        test::RecordingMessageBoxes boxes;
        RecordingBrowser browser;
        dialogs.Cancel();
        TSensitivity window;
        window.ButtonReportClick();
        QCOMPARE(dialogs.dialogs.size(), 1);
        QVERIFY(browser.opened.isEmpty());
        QVERIFY(boxes.boxes.isEmpty());
    }

    void reportThatCannotBeWrittenShowsTheError() {
        QTemporaryDir folder;
        test::ScriptedFileDialogs dialogs;
        test::RecordingMessageBoxes boxes;
        RecordingBrowser browser;
        dialogs.Confirm(folder.filePath(QStringLiteral("missing/r.html")));
        TSensitivity window;
        window.ButtonReportClick();
        QVERIFY(browser.opened.isEmpty());
        QCOMPARE(boxes.boxes.size(), 1);
        QCOMPARE(boxes.boxes[0].kind, MessageKind::Failure);
        QCOMPARE(boxes.boxes[0].text, QStringLiteral("Invalid filename."));
    }

    void noBrowserIsSaid() {
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("r.html"));
        test::ScriptedFileDialogs dialogs;
        test::RecordingMessageBoxes boxes;
        RecordingBrowser browser;
        browser.opens = false;
        dialogs.Confirm(file);
        TSensitivity window;
        window.ButtonReportClick();
        QVERIFY(QFile::exists(file));
        QCOMPARE(boxes.boxes.size(), 1);
        QCOMPARE(boxes.boxes[0].kind, MessageKind::Information);
        QCOMPARE(boxes.boxes[0].text, QStringLiteral("No browser could open the report ") + file);
    }

    // The record belongs to the results of the analysis run here; a project read from a file
    // brings results of its own.
    void openingAProjectDropsTheRecord() {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("saved.zmo"));
        WriteProjectFile(QFile::encodeName(path).toStdString());
        test::ScriptedFileDialogs dialogs;
        test::RecordingMessageBoxes boxes;
        const Program program;
        AnalysisRecord record;
        program.out->Sensitivity->Record = &record;
        dialogs.Cancel();
        program.main->Open2->trigger();
        QCOMPARE(program.out->Sensitivity->Record, &record);
        dialogs.Confirm(path);
        program.main->Open2->trigger();
        QCOMPARE(program.out->Sensitivity->Record, nullptr);
    }

    void closeHides() {
        TSensitivity window;
        window.show();
        QTest::mouseClick(window.ButtonClose, Qt::LeftButton);
        QVERIFY(!window.isVisible());
        QCOMPARE(window.ButtonCopy->text(), QStringLiteral("Copy"));
    }
};

QTEST_MAIN(SensitivityWindowTest)
#include "sensitivity_window_test.moc"
