#include "report/charts/sampling_chart.h"

#include "project/number_forms.h"
#include "report/charts/chart_style.h"
#include "report/charts/probability_axis.h"
#include "report/charts/svg_elements.h"

#include <cmath>

namespace zelmora {

namespace {

constexpr double Width = 480;
constexpr double PlotRight = Width - 24;
constexpr int TickCount = 5;

// Samples from 0, the probability fitted to the history.
struct Axes {
    double xHigh;
    double low;
    double high;
    double yStep;
    int decimals; // of the ticks, enough for the step

    double X(double samples) const { return PlotLeft + samples / xHigh * (PlotRight - PlotLeft); }
    double Y(double p) const {
        return PlotBottom - (p - low) / (high - low) * (PlotBottom - PlotTop);
    }
};

Axes AxesFor(const SamplingResult& result) {
    const ProbabilityAxis y = FitProbabilityAxis(result.history, TickCount);
    return {static_cast<double>(result.history.back().samples), y.low, y.high, y.step, y.decimals};
}

std::string Grid(const Axes& axes) {
    std::string content;
    // A hair of tolerance keeps a tick that the margin ends on.
    const auto first = static_cast<int>(std::ceil(axes.low / axes.yStep - 1e-9));
    const auto last = static_cast<int>(std::floor(axes.high / axes.yStep + 1e-9));
    for (int k = first; k <= last; ++k) {
        const double p = k * axes.yStep;
        const double y = axes.Y(p);
        content += SvgLine(PlotLeft, y, PlotRight, y, GridColour) +
                   SvgText(PlotLeft - 6, y + 4, "end", FormatFixed(p, 0, axes.decimals));
    }
    for (const double samples : {0.0, axes.xHigh / 2, axes.xHigh}) {
        content += SvgText(axes.X(samples), PlotBottom + 16, "middle",
                           FormatInteger(static_cast<int>(std::lround(samples)), 0));
    }
    return content + SvgLine(PlotLeft, PlotTop, PlotLeft, PlotBottom, "#000000") +
           SvgLine(PlotLeft, PlotBottom, PlotRight, PlotBottom, "#000000") +
           SvgText(16, (PlotTop + PlotBottom) / 2, "middle", "p") +
           SvgText((PlotLeft + PlotRight) / 2, ChartHeight - 8, "middle", "Samples");
}

std::string Curves(const SamplingResult& result, const Axes& axes) {
    std::string band;
    std::string estimate;
    for (const SamplingPoint& point : result.history) {
        const std::string x = SvgNumber(axes.X(point.samples));
        band += x + "," + SvgNumber(axes.Y(point.interval95[1])) + " ";
        estimate += x + "," + SvgNumber(axes.Y(point.probability)) + " ";
    }
    for (auto k = result.history.rbegin(); k != result.history.rend(); ++k) {
        band += SvgNumber(axes.X(k->samples)) + "," + SvgNumber(axes.Y(k->interval95[0])) + " ";
    }
    band.pop_back();
    estimate.pop_back();
    return R"(<polygon fill=")" + std::string(BandColour) + R"(" stroke="none" points=")" + band +
           R"("/>)" + "\n" + R"(<polyline fill="none" stroke=")" + LineColour +
           R"(" stroke-width="2" points=")" + estimate + R"("/>)" + "\n";
}

} // namespace

std::string SamplingChartSvg(const SamplingResult& result) {
    if (result.history.empty()) {
        return "";
    }
    const Axes axes = AxesFor(result);
    const std::string title = "Probability of failure and its 95 % band by samples";
    return SvgStart(Width, ChartHeight, title) + R"(<rect x="0" y="0" width=")" + SvgNumber(Width) +
           R"(" height=")" + SvgNumber(ChartHeight) + R"(" fill="#ffffff"/>)" + "\n" +
           SvgText(8, 18, "start", title) + Curves(result, axes) + Grid(axes) + "</svg>\n";
}

} // namespace zelmora
