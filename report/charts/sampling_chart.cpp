#include "report/charts/sampling_chart.h"

#include "project/number_forms.h"
#include "report/charts/svg_elements.h"

#include <algorithm>
#include <cmath>

namespace zelmora {

namespace {

constexpr double Width = 480;
constexpr double Height = 240;
constexpr double PlotLeft = 64;
constexpr double PlotRight = Width - 24;
constexpr double PlotTop = 40;
constexpr double PlotBottom = Height - 44;
constexpr int TickCount = 4;
const char* const LineColour = "#1f4e8c";
const char* const BandColour = "#c9d8ee";
const char* const GridColour = "#c8c8c8";

// A round step of 1, 2 or 5 times a power of ten giving about TickCount ticks up to `top`.
double RoundStep(double top) {
    const double magnitude = std::pow(10.0, std::floor(std::log10(top / TickCount)));
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (top / (factor * magnitude) <= TickCount) {
            return factor * magnitude;
        }
    }
    return 10 * magnitude;
}

struct Axes {
    double xHigh;
    double yStep;
    int ySteps;
    int decimals; // of the ticks, enough for the step

    double X(double samples) const { return PlotLeft + samples / xHigh * (PlotRight - PlotLeft); }
    double Y(double p) const { return PlotBottom - p / (yStep * ySteps) * (PlotBottom - PlotTop); }
};

Axes AxesFor(const SamplingResult& result) {
    double top = 0;
    for (const SamplingPoint& point : result.history) {
        top = std::max(top, point.interval95[1]);
    }
    top = std::max(top, 1e-12);
    const double step = RoundStep(top);
    return {static_cast<double>(result.history.back().samples), step,
            std::max(1, static_cast<int>(std::ceil(top / step - 1e-9))),
            std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9)))};
}

std::string Grid(const Axes& axes) {
    std::string content;
    for (int k = 0; k <= axes.ySteps; ++k) {
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
           SvgText((PlotLeft + PlotRight) / 2, Height - 8, "middle", "Samples");
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
    return SvgStart(Width, Height, title) + R"(<rect x="0" y="0" width=")" + SvgNumber(Width) +
           R"(" height=")" + SvgNumber(Height) + R"(" fill="#ffffff"/>)" + "\n" +
           SvgText(8, 18, "start", title) + Curves(result, axes) + Grid(axes) + "</svg>\n";
}

} // namespace zelmora
