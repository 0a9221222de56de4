#pragma once

#include "analysis/analysis_record.h"
#include "report/tables/sensitivity_table.h"
#include "ui/file_dialog.h"

#include <QWidget>
#include <map>
#include <string>

class QGroupBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QSvgWidget;
class QTableWidget;

namespace zelmora::ui {

// What the analysis learnt, shown: each random variable's sensitivity and share of the
// variance as a table and a chart, β read in other ways, the linearity in plain words and,
// below them, what a further reliability method found.
class TSensitivity : public QWidget {
    Q_OBJECT

public:
    explicit TSensitivity(QWidget* parent = nullptr);

    // Fills the window from the project state; it is filled each time it opens.
    void FormCreate();
    // The table as tab-separated text on the clipboard, for a spreadsheet.
    void ButtonCopyClick();
    // Writes the report to a file chosen in a save dialog and opens it in the browser.
    void ButtonReportClick();
    void ButtonCloseClick();

    // The analysis run in this process, whose runs the report shows with their exit status and
    // time; nullptr when there is none or the results came from a project file.
    const AnalysisRecord* Record = nullptr;

    // Everything above the buttons; it scrolls where the screen is too small for it.
    QScrollArea* Scroll;
    QTableWidget* Table;
    QSvgWidget* Chart;
    // The value of each reliability figure, by its name ("Beta", "Cov", ...); objectName
    // "Label" + name.
    std::map<std::string, QLabel*> Figures;
    // First order's β with correlations, shown when the analysis had correlations; objectName
    // "Label" + name.
    QWidget* BoxCorrelated;
    std::map<std::string, QLabel*> CorrelatedFigures;
    QLabel* LabelReading;
    QLabel* LabelReliedOn; // the method whose probability the report relies on, and why
    // The method that ran after the first-order analysis in this process; hidden when none did.
    QGroupBox* GroupMethod;
    QLabel* LabelMethodNote;
    // The value of each of the method's figures, by its name; objectName "LabelMethod" + name.
    std::map<std::string, QLabel*> MethodFigures;
    QTableWidget* TableMethod;
    QSvgWidget* ChartIterations; // FORM only
    // The sampling check that followed; hidden when none did.
    QGroupBox* GroupSampling;
    QLabel* LabelSamplingNote;    // that failed runs decide the answer, when they do
    QLabel* LabelSampling;        // its figures
    QSvgWidget* ChartSampling;    // empty for an analysis read back; the surrogate's learning
    QSvgWidget* ChartLeaveOneOut; // the surrogate's leave-one-out check; hidden when none
    // Below it, the sampled factors' figures and chart; hidden where none were kept.
    QLabel* LabelDistribution;
    QSvgWidget* ChartDistribution;
    QPushButton* ButtonCopy;
    QPushButton* ButtonReport;
    QPushButton* ButtonClose;
    FileDialog ReportDialog;

private:
    void FillTable();
    QGroupBox* BuildMethod();
    void FillMethod();
    QGroupBox* BuildSampling();
    void FillDistribution(const SamplingResult& result);
    void FillSampling();
    // Shows `chart` in `widget`, or hides it where the chart is empty.
    static void ShowChart(QSvgWidget& widget, const std::string& chart);
    // As large as the content, within nine tenths of the screen.
    void FitToScreen();

    TextTable shown_;
    std::map<std::string, QLabel*> methodCaptions_;
};

} // namespace zelmora::ui
