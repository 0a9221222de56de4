#include "report/charts/learning_chart.h"

#include "project/number_forms.h"
#include "report/charts/chart_style.h"
#include "report/charts/probability_axis.h"
#include "report/charts/svg_elements.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace zelmora {

namespace {

constexpr double Width = 480;
constexpr double PlotRight = Width - 24;
constexpr int TickCount = 5;
constexpr double MarkerRadius = 3;

// The calculator runs at hand after each round: those of the method it started from and its own.
std::vector<double> RunsAfterEachRound(const SurrogateFacts& facts) {
    std::vector<double> runs;
    double total = facts.methodRunsUsed;
    for (const int made : facts.runsPerRound) {
        total += made;
        runs.push_back(total);
    }
    return runs;
}

// The runs on round ticks around those the rounds had, the probability fitted to the history.
struct Axes {
    double xLow;
    double xHigh;
    double xStep;
    ProbabilityAxis y;

    double X(double runs) const {
        return PlotLeft + (runs - xLow) / (xHigh - xLow) * (PlotRight - PlotLeft);
    }
    double Y(double p) const {
        return PlotBottom - (p - y.low) / (y.high - y.low) * (PlotBottom - PlotTop);
    }
};

Axes AxesFor(const SamplingResult& result, const std::vector<double>& runs) {
    const double first = result.surrogate->methodRunsUsed;
    const double step = RoundStep(std::max(runs.back() - first, 1.0), TickCount);
    Axes axes{std::floor(first / step + 1e-9) * step, std::ceil(runs.back() / step - 1e-9) * step,
              step, FitProbabilityAxis(result.history, TickCount)};
    if (axes.xHigh <= axes.xLow) {
        axes.xHigh = axes.xLow + step;
    }
    return axes;
}

std::string Grid(const Axes& axes) {
    std::string content;
    // A hair of tolerance keeps a tick that the margin ends on.
    const auto first = static_cast<int>(std::ceil(axes.y.low / axes.y.step - 1e-9));
    const auto last = static_cast<int>(std::floor(axes.y.high / axes.y.step + 1e-9));
    for (int k = first; k <= last; ++k) {
        const double p = k * axes.y.step;
        const double y = axes.Y(p);
        content += SvgLine(PlotLeft, y, PlotRight, y, GridColour) +
                   SvgText(PlotLeft - 6, y + 4, "end", FormatFixed(p, 0, axes.y.decimals));
    }
    const auto ticks = static_cast<int>(std::lround((axes.xHigh - axes.xLow) / axes.xStep));
    for (int k = 0; k <= ticks; ++k) {
        const double runs = axes.xLow + k * axes.xStep;
        content += SvgText(axes.X(runs), PlotBottom + 16, "middle",
                           FormatInteger(static_cast<int>(std::lround(runs)), 0));
    }
    return content + SvgLine(PlotLeft, PlotTop, PlotLeft, PlotBottom, "#000000") +
           SvgLine(PlotLeft, PlotBottom, PlotRight, PlotBottom, "#000000") +
           SvgText(16, (PlotTop + PlotBottom) / 2, "middle", "p") +
           SvgText((PlotLeft + PlotRight) / 2, ChartHeight - 8, "middle", "Calculator runs");
}

std::string Curves(const SamplingResult& result, const std::vector<double>& runs,
                   const Axes& axes) {
    std::string band;
    std::string estimate;
    std::string markers;
    for (std::size_t k = 0; k < runs.size(); ++k) {
        const SamplingPoint& point = result.history[k];
        const std::string x = SvgNumber(axes.X(runs[k]));
        const std::string y = SvgNumber(axes.Y(point.probability));
        band += x + "," + SvgNumber(axes.Y(point.interval95[1])) + " ";
        estimate += x + "," + y + " ";
        markers += R"(<circle cx=")" + x + R"(" cy=")" + y + R"(" r=")" + SvgNumber(MarkerRadius) +
                   R"(" fill=")" + LineColour + R"("/>)" + "\n";
    }
    for (std::size_t k = runs.size(); k-- > 0;) {
        band += SvgNumber(axes.X(runs[k])) + "," +
                SvgNumber(axes.Y(result.history[k].interval95[0])) + " ";
    }
    band.pop_back();
    estimate.pop_back();
    return R"(<polygon fill=")" + std::string(BandColour) + R"(" stroke="none" points=")" + band +
           R"("/>)" + "\n" + R"(<polyline fill="none" stroke=")" + LineColour +
           R"(" stroke-width="2" points=")" + estimate + R"("/>)" + "\n" + markers;
}

} // namespace

std::string LearningChartSvg(const SamplingResult& result) {
    if (!result.surrogate || result.history.empty() ||
        result.surrogate->runsPerRound.size() != result.history.size()) {
        return "";
    }
    const std::vector<double> runs = RunsAfterEachRound(*result.surrogate);
    const Axes axes = AxesFor(result, runs);
    const std::string title = "Probability of failure and its 95 % band by calculator runs";
    return SvgStart(Width, ChartHeight, title) + R"(<rect x="0" y="0" width=")" + SvgNumber(Width) +
           R"(" height=")" + SvgNumber(ChartHeight) + R"(" fill="#ffffff"/>)" + "\n" +
           SvgText(8, 18, "start", title) + Curves(result, runs, axes) + Grid(axes) + "</svg>\n";
}

} // namespace zelmora
