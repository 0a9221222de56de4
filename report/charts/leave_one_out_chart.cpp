#include "report/charts/leave_one_out_chart.h"

#include "project/number_forms.h"
#include "report/charts/chart_style.h"
#include "report/charts/svg_elements.h"

#include <algorithm>
#include <cmath>

namespace zelmora {

namespace {

constexpr double Width = 328;
constexpr double PlotRight = Width - 24;
constexpr int TickCount = 5;
constexpr double MarkerRadius = 2.5;

// One scale for both axes, from a round tick below the least value to one above the greatest,
// 1 always within: the line y = x is then the plot's diagonal.
struct Axes {
    double low;
    double high;
    double step;

    double X(double factor) const {
        return PlotLeft + (factor - low) / (high - low) * (PlotRight - PlotLeft);
    }
    double Y(double factor) const {
        return PlotBottom - (factor - low) / (high - low) * (PlotBottom - PlotTop);
    }
};

Axes AxesFor(const std::vector<std::array<double, 2>>& pairs) {
    double lowest = 1;
    double highest = 1;
    for (const auto& [factor, mean] : pairs) {
        lowest = std::min({lowest, factor, mean});
        highest = std::max({highest, factor, mean});
    }
    const double step = RoundStep(std::max(highest - lowest, 1e-3), TickCount);
    Axes axes{std::floor(lowest / step + 1e-9) * step, std::ceil(highest / step - 1e-9) * step,
              step};
    if (axes.high <= axes.low) {
        axes.high = axes.low + step;
    }
    return axes;
}

std::string Grid(const Axes& axes) {
    std::string content;
    const int decimals = StepDecimals(axes.step);
    const auto ticks = static_cast<int>(std::lround((axes.high - axes.low) / axes.step));
    for (int k = 0; k <= ticks; ++k) {
        const double factor = axes.low + k * axes.step;
        const std::string text = FormatFixed(factor, 0, decimals);
        const double y = axes.Y(factor);
        content += SvgLine(PlotLeft, y, PlotRight, y, GridColour) +
                   SvgText(PlotLeft - 6, y + 4, "end", text) +
                   SvgText(axes.X(factor), PlotBottom + 16, "middle", text);
    }
    return content + SvgLine(PlotLeft, PlotTop, PlotLeft, PlotBottom, "#000000") +
           SvgLine(PlotLeft, PlotBottom, PlotRight, PlotBottom, "#000000") +
           SvgText(20, (PlotTop + PlotBottom) / 2, "middle", "Mean") +
           SvgText((PlotLeft + PlotRight) / 2, ChartHeight - 8, "middle",
                   "F at the training point");
}

std::string DashedLine(double x1, double y1, double x2, double y2) {
    return R"(<line x1=")" + SvgNumber(x1) + R"(" y1=")" + SvgNumber(y1) + R"(" x2=")" +
           SvgNumber(x2) + R"(" y2=")" + SvgNumber(y2) + R"(" stroke=")" + MarkColour +
           R"(" stroke-width="2" stroke-dasharray="6,3"/>)" + "\n";
}

// F = 1 across and up; the diagonal where the mean without a point equals its factor.
std::string Marks(const Axes& axes) {
    const double x = axes.X(1);
    const double y = axes.Y(1);
    return DashedLine(x, PlotTop, x, PlotBottom) + DashedLine(PlotLeft, y, PlotRight, y) +
           SvgText(x + 4, PlotTop + 12, "start", "F = 1") +
           SvgLine(axes.X(axes.low), axes.Y(axes.low), axes.X(axes.high), axes.Y(axes.high),
                   "#000000");
}

std::string Points(const std::vector<std::array<double, 2>>& pairs, const Axes& axes) {
    std::string points;
    for (const auto& [factor, mean] : pairs) {
        points += R"(<circle cx=")" + SvgNumber(axes.X(factor)) + R"(" cy=")" +
                  SvgNumber(axes.Y(mean)) + R"(" r=")" + SvgNumber(MarkerRadius) + R"(" fill=")" +
                  LineColour + R"("/>)" + "\n";
    }
    return points;
}

} // namespace

std::string LeaveOneOutChartSvg(const SamplingResult& result) {
    if (!result.surrogate || result.surrogate->leaveOneOut.empty()) {
        return "";
    }
    const std::vector<std::array<double, 2>>& pairs = result.surrogate->leaveOneOut;
    const Axes axes = AxesFor(pairs);
    const std::string title = "Leave-one-out mean against F";
    return SvgStart(Width, ChartHeight, title) + R"(<rect x="0" y="0" width=")" + SvgNumber(Width) +
           R"(" height=")" + SvgNumber(ChartHeight) + R"(" fill="#ffffff"/>)" + "\n" +
           SvgText(8, 18, "start", title) + Grid(axes) + Marks(axes) + Points(pairs, axes) +
           "</svg>\n";
}

} // namespace zelmora
