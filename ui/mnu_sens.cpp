#include "ui/mnu_sens.h"

#include "analysis/methods/derived_results.h"
#include "analysis/methods/sampling_method.h"
#include "project/project_state.h"
#include "project/whole_file.h"
#include "report/charts/factor_distribution_chart.h"
#include "report/charts/iteration_chart.h"
#include "report/charts/learning_chart.h"
#include "report/charts/leave_one_out_chart.h"
#include "report/charts/sampling_chart.h"
#include "report/charts/share_chart.h"
#include "report/html/html_report.h"
#include "report/markup_escape.h"
#include "report/methods_that_ran.h"
#include "report/runs_csv.h"
#include "report/tables/correlation_summary.h"
#include "report/tables/factor_distribution_summary.h"
#include "report/tables/linearity_reading.h"
#include "report/tables/method_summary.h"
#include "report/tables/reliability_summary.h"
#include "report/tables/sampling_summary.h"
#include "study/study.h"
#include "ui/browser.h"
#include "ui/message_boxes.h"
#include "ui/set_names.h"
#include "ui/window_commands.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSvgWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <ctime>
#include <exception>

namespace zelmora::ui {
namespace {

const QStringList ReportFilters{QStringLiteral("HTML files (*.html)"), QStringLiteral("all (*)")};

// Column 4 holds the parameter's symbol; every other column a number.
constexpr int ParameterColumn = 4;

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QPushButton* Button(const QString& caption, const QString& name) {
    auto* button = new QPushButton(caption);
    button->setObjectName(name);
    return button;
}

// The project file's name with ".html" in its place, or "zelmora-report.html".
QString ProposedReportName() {
    if (State.CurrentFileName.empty())
        return QStringLiteral("zelmora-report.html");
    const QFileInfo project(QFile::decodeName(QByteArray::fromStdString(State.CurrentFileName)));
    return project.dir().filePath(project.completeBaseName() + QStringLiteral(".html"));
}

// The texts in the table, each column aligned as given, the table as tall as its rows.
void ShowTextTable(QTableWidget& table, const TextTable& text,
                   const std::vector<Qt::Alignment>& alignment) {
    table.clear();
    table.setColumnCount(static_cast<int>(text.header.size()));
    table.setRowCount(static_cast<int>(text.rows.size()));
    QStringList header;
    for (const std::string& caption : text.header)
        header << FromUtf8(caption);
    table.setHorizontalHeaderLabels(header);
    for (int r = 0; r < table.rowCount(); ++r) {
        for (int c = 0; c < table.columnCount(); ++c) {
            auto* item = new QTableWidgetItem(FromUtf8(text.rows[r][c]));
            item->setTextAlignment(alignment[c] | Qt::AlignVCenter);
            table.setItem(r, c, item);
        }
    }
    table.resizeColumnsToContents();
    table.resizeRowsToContents();
    table.setFixedHeight(table.horizontalHeader()->height() + table.verticalHeader()->length() +
                         2 * table.frameWidth() + 2);
}

// The width that shows every column of the table.
int ContentWidth(const QTableWidget& table) {
    return table.horizontalHeader()->length() + 2 * table.frameWidth() + 2;
}

// Right for a number, left for a text.
std::vector<Qt::Alignment> ByNumeric(const std::vector<bool>& numeric) {
    std::vector<Qt::Alignment> alignment;
    for (const bool number : numeric)
        alignment.push_back(number ? Qt::AlignRight : Qt::AlignLeft);
    return alignment;
}

// A scroll area as large as its content would like to be, so that the window opens showing all
// of it where the screen has room; the window may still be made smaller, and the content
// scrolls then.
class FittingScrollArea : public QScrollArea {
public:
    QSize sizeHint() const override {
        return widget()->sizeHint() + QSize(2 * frameWidth(), 2 * frameWidth());
    }
};

// A table that shows, and lets the user select and copy, but not edit.
QTableWidget* ReadOnlyTable(const QString& name) {
    auto* table = new QTableWidget;
    table->setObjectName(name);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    table->setFocusPolicy(Qt::ClickFocus);
    return table;
}

// Each line's caption beside a label for its value, named `prefix` + the line's name; the value
// labels and, when asked, the caption labels by name.
QGridLayout* FigureGrid(const std::vector<SummaryLine>& lines, const QString& prefix,
                        std::map<std::string, QLabel*>& values,
                        std::map<std::string, QLabel*>* captions = nullptr) {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(16);
    int row = 0;
    for (const SummaryLine& line : lines) {
        auto* value = new QLabel;
        value->setObjectName(prefix + FromUtf8(line.name));
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        values[line.name] = value;
        auto* caption = new QLabel(FromUtf8(line.caption));
        if (captions)
            (*captions)[line.name] = caption;
        grid->addWidget(caption, row, 0);
        grid->addWidget(value, row, 1);
        ++row;
    }
    grid->setColumnStretch(2, 1);
    return grid;
}

// Every method's figures once, in the order each method shows its own: the window shows those
// of the method that ran.
std::vector<SummaryLine> EveryMethodFigure() {
    std::vector<SummaryLine> lines;
    for (const Method method : {Method::Taylor, Method::Form}) {
        MethodResult result;
        result.method = method;
        for (const SummaryLine& line : MethodSummary(result)) {
            if (std::none_of(lines.begin(), lines.end(),
                             [&line](const SummaryLine& known) { return known.name == line.name; }))
                lines.push_back(line);
        }
    }
    return lines;
}

} // namespace

TSensitivity::TSensitivity(QWidget* parent)
    : QWidget(parent, Qt::Window), ReportDialog(FileDialog::Mode::Save, ReportFilters) {
    setWindowTitle(QStringLiteral("Sensitivity"));
    Table = ReadOnlyTable(QStringLiteral("Table"));
    Chart = new QSvgWidget;
    Chart->setObjectName(QStringLiteral("Chart"));
    LabelReading = new QLabel;
    LabelReading->setObjectName(QStringLiteral("LabelReading"));
    LabelReading->setWordWrap(true);
    LabelReliedOn = new QLabel;
    LabelReliedOn->setObjectName(QStringLiteral("LabelReliedOn"));
    LabelReliedOn->setWordWrap(true);
    GroupMethod = BuildMethod();
    GroupSampling = BuildSampling();
    ButtonCopy = Button(QStringLiteral("Copy"), QStringLiteral("ButtonCopy"));
    ButtonReport = Button(QStringLiteral("Report..."), QStringLiteral("ButtonReport"));
    ButtonClose = Button(QStringLiteral("Close"), QStringLiteral("ButtonClose"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ButtonCopy);
    buttons->addWidget(ButtonReport);
    buttons->addStretch();
    buttons->addWidget(ButtonClose);
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Table);
    layout->addWidget(Chart, 0, Qt::AlignHCenter);
    layout->addLayout(
        FigureGrid(ReliabilitySummary(DerivedResults{}, 0), QStringLiteral("Label"), Figures));
    BoxCorrelated = new QWidget;
    BoxCorrelated->setObjectName(QStringLiteral("BoxCorrelated"));
    BoxCorrelated->setLayout(FigureGrid(CorrelatedSummary(DerivedResults{}, {}),
                                        QStringLiteral("Label"), CorrelatedFigures));
    BoxCorrelated->layout()->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(BoxCorrelated);
    layout->addWidget(LabelReading);
    layout->addWidget(LabelReliedOn);
    layout->addWidget(GroupMethod);
    layout->addWidget(GroupSampling);
    layout->addStretch();
    Scroll = new FittingScrollArea;
    Scroll->setObjectName(QStringLiteral("Scroll"));
    Scroll->setFrameShape(QFrame::NoFrame);
    Scroll->setWidgetResizable(true);
    Scroll->setWidget(content);
    auto* window = new QVBoxLayout(this);
    window->addWidget(Scroll);
    window->addLayout(buttons);

    connect(ButtonCopy, &QPushButton::clicked, this, &TSensitivity::ButtonCopyClick);
    connect(ButtonReport, &QPushButton::clicked, this, &TSensitivity::ButtonReportClick);
    connect(ButtonClose, &QPushButton::clicked, this, &TSensitivity::ButtonCloseClick);
}

QGroupBox* TSensitivity::BuildMethod() {
    auto* group = new QGroupBox;
    group->setObjectName(QStringLiteral("GroupMethod"));
    // Not wrapped: a window sized before it is shown does not grow for a wrapped line.
    LabelMethodNote = new QLabel;
    LabelMethodNote->setObjectName(QStringLiteral("LabelMethodNote"));
    TableMethod = ReadOnlyTable(QStringLiteral("TableMethod"));
    ChartIterations = new QSvgWidget;
    ChartIterations->setObjectName(QStringLiteral("ChartIterations"));

    // The figures above the table, the chart beside both: the window is tall enough already.
    auto* figures = new QVBoxLayout;
    figures->addLayout(FigureGrid(EveryMethodFigure(), QStringLiteral("LabelMethod"), MethodFigures,
                                  &methodCaptions_));
    figures->addWidget(TableMethod);
    figures->addStretch();
    auto* results = new QHBoxLayout;
    results->addLayout(figures);
    results->addWidget(ChartIterations, 0, Qt::AlignTop);
    results->addStretch();
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(LabelMethodNote);
    layout->addLayout(results);
    return group;
}

QGroupBox* TSensitivity::BuildSampling() {
    auto* group = new QGroupBox;
    group->setObjectName(QStringLiteral("GroupSampling"));
    LabelSamplingNote = new QLabel;
    LabelSamplingNote->setObjectName(QStringLiteral("LabelSamplingNote"));
    LabelSampling = new QLabel;
    LabelSampling->setObjectName(QStringLiteral("LabelSampling"));
    LabelSampling->setTextFormat(Qt::RichText);
    ChartSampling = new QSvgWidget;
    ChartSampling->setObjectName(QStringLiteral("ChartSampling"));
    ChartLeaveOneOut = new QSvgWidget;
    ChartLeaveOneOut->setObjectName(QStringLiteral("ChartLeaveOneOut"));
    // One chart above the other: beside each other they would not fit a screen 1600 wide.
    auto* charts = new QVBoxLayout;
    charts->addWidget(ChartSampling, 0, Qt::AlignLeft);
    charts->addWidget(ChartLeaveOneOut, 0, Qt::AlignLeft);
    charts->addStretch();
    auto* results = new QHBoxLayout;
    results->addWidget(LabelSampling, 0, Qt::AlignTop);
    results->addLayout(charts);
    results->addStretch();
    LabelDistribution = new QLabel;
    LabelDistribution->setObjectName(QStringLiteral("LabelDistribution"));
    LabelDistribution->setTextFormat(Qt::RichText);
    ChartDistribution = new QSvgWidget;
    ChartDistribution->setObjectName(QStringLiteral("ChartDistribution"));
    auto* distribution = new QHBoxLayout;
    distribution->addWidget(LabelDistribution, 0, Qt::AlignTop);
    distribution->addWidget(ChartDistribution, 0, Qt::AlignTop);
    distribution->addStretch();
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(LabelSamplingNote);
    layout->addLayout(results);
    layout->addLayout(distribution);
    return group;
}

namespace {

// Captions and values as the other figures show them: plain, the values beside.
std::string FigureRows(const std::vector<SummaryLine>& lines) {
    std::string rows;
    for (const SummaryLine& line : lines)
        rows += "<tr><td>" + EscapeMarkup(line.caption) + "</td><td style=\"padding-left: 12px\">" +
                EscapeMarkup(line.value) + "</td></tr>";
    return "<table cellspacing=\"2\">" + rows + "</table>";
}

} // namespace

void TSensitivity::FillDistribution(const SamplingResult& result) {
    const std::string chart = FactorDistributionChartSvg(result);
    LabelDistribution->setVisible(!chart.empty());
    ChartDistribution->setVisible(!chart.empty());
    if (chart.empty())
        return;
    LabelDistribution->setText(FromUtf8("<b>" + EscapeMarkup(FactorDistributionHeading) + "</b>" +
                                        FigureRows(FactorDistributionSummary(result))));
    ChartDistribution->load(QByteArray::fromStdString(chart));
    ChartDistribution->setFixedSize(ChartDistribution->sizeHint());
}

void TSensitivity::FillSampling() {
    const bool ran = Record && Record->sampling;
    GroupSampling->setVisible(ran);
    if (!ran)
        return;
    const SamplingResult& result = *Record->sampling;
    GroupSampling->setTitle(FromUtf8(SamplingHeading(result)));
    LabelSamplingNote->setVisible(result.failedRunsDecide);
    LabelSamplingNote->setText(FromUtf8(FailedRunsDecideText()));
    LabelSampling->setText(FromUtf8(FigureRows(SamplingSummary(result, Record->method))));
    // The size of the surrogate's population says nothing of how it learned.
    ShowChart(*ChartSampling,
              result.surrogate ? LearningChartSvg(result) : SamplingChartSvg(result));
    ShowChart(*ChartLeaveOneOut, LeaveOneOutChartSvg(result));
    FillDistribution(result);
}

void TSensitivity::ShowChart(QSvgWidget& widget, const std::string& chart) {
    widget.setVisible(!chart.empty());
    if (chart.empty())
        return;
    widget.load(QByteArray::fromStdString(chart));
    widget.setFixedSize(widget.sizeHint());
}

void TSensitivity::FormCreate() {
    const DerivedResults results = DeriveResults(State);
    shown_ = WithSetNames(SensitivityTable(results));
    FillTable();
    Chart->load(QByteArray::fromStdString(ShareChartSvg(results)));
    Chart->setFixedSize(Chart->sizeHint());
    for (const SummaryLine& line : ReliabilitySummary(results, State.Beta))
        Figures.at(line.name)->setText(FromUtf8(line.value));
    const bool correlated = Record && !Record->correlations.empty();
    BoxCorrelated->setVisible(correlated);
    if (correlated)
        for (const SummaryLine& line : CorrelatedSummary(results, Record->correlations))
            CorrelatedFigures.at(line.name)->setText(FromUtf8(line.value));
    LabelReading->setText(FromUtf8(LinearityReading(results.linearity)));
    const AnalysisRecord none;
    const AnalysisRecord& record = Record ? *Record : none;
    LabelReliedOn->setText(
        FromUtf8(ReliedOnLine(MethodsThatRanIn(FirstOrderThatRan(State, record), record))));
    FillMethod();
    FillSampling();
    FitToScreen();
}

void TSensitivity::FitToScreen() {
    // A widget whose fixed size changes does not invalidate the layout it stands in: the
    // layouts would measure the tables and charts as they were before this filling, and the
    // window the scroll area as it was.
    for (QLayout* inner : Scroll->widget()->findChildren<QLayout*>())
        inner->invalidate();
    Scroll->updateGeometry();
    QSize size = sizeHint();
    const QSize room = screen()->availableGeometry().size() * 0.9;
    // A bar that has to appear takes room from the other direction.
    if (size.width() > room.width())
        size.rheight() += Scroll->horizontalScrollBar()->sizeHint().height();
    if (size.height() > room.height())
        size.rwidth() += Scroll->verticalScrollBar()->sizeHint().width();
    resize(size.boundedTo(room));
}

void TSensitivity::FillMethod() {
    const bool ran = Record && Record->method && Record->method->method != Method::FirstOrder;
    GroupMethod->setVisible(ran);
    if (!ran)
        return;
    const MethodResult& method = *Record->method;
    GroupMethod->setTitle(FromUtf8(MethodHeading(method)));
    LabelMethodNote->setText(FromUtf8(MethodNote(method)));
    for (const auto& [name, value] : MethodFigures) {
        value->hide();
        methodCaptions_.at(name)->hide();
    }
    for (const SummaryLine& line : MethodSummary(method)) {
        MethodFigures.at(line.name)->setText(FromUtf8(line.value));
        MethodFigures.at(line.name)->show();
        methodCaptions_.at(line.name)->show();
    }
    ShowTextTable(*TableMethod, WithSetNames(MethodTable(method, State.SoilTable)),
                  ByNumeric(MethodTableNumeric(method)));
    TableMethod->setFixedWidth(ContentWidth(*TableMethod));
    const bool form = method.method == Method::Form;
    ChartIterations->setVisible(form);
    if (form) {
        ChartIterations->load(QByteArray::fromStdString(IterationChartSvg(method)));
        ChartIterations->setFixedSize(ChartIterations->sizeHint());
    }
}

void TSensitivity::FillTable() {
    std::vector<Qt::Alignment> alignment(shown_.header.size(), Qt::AlignRight);
    alignment[ParameterColumn] = Qt::AlignHCenter;
    ShowTextTable(*Table, shown_, alignment);
    Table->setMinimumWidth(ContentWidth(*Table));
}

void TSensitivity::ButtonCopyClick() {
    QGuiApplication::clipboard()->setText(FromUtf8(TabSeparated(shown_)));
}

void TSensitivity::ButtonReportClick() {
    Guarded([&] {
        ReportDialog.fileName = ProposedReportName();
        if (!ReportDialog.Execute(this))
            return;
        WriteHtmlReport(QFile::encodeName(ReportDialog.fileName).toStdString(),
                        HtmlReport(State.CurrentFileName, State, Record, std::time(nullptr),
                                   ForReport(ProjectStudy.settings)));
        // Every run and sample beside it, which the report lists in part.
        if (Record) {
            const QFileInfo report(ReportDialog.fileName);
            const QString csv =
                report.dir().filePath(report.completeBaseName() + QStringLiteral(".csv"));
            SaveWholeFile(QFile::encodeName(csv).toStdString(), RunsCsv(State, *Record));
        }
        if (!OpenInBrowser(QUrl::fromLocalFile(ReportDialog.fileName)))
            ShowMessage(MessageKind::Information,
                        QStringLiteral("No browser could open the report ") +
                            ReportDialog.fileName);
    });
}

void TSensitivity::ButtonCloseClick() {
    hide();
}

} // namespace zelmora::ui
