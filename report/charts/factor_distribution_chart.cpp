#include "report/charts/factor_distribution_chart.h"

#include "project/number_forms.h"
#include "report/charts/chart_style.h"
#include "report/charts/svg_elements.h"
#include "report/factor_statistics.h"

#include <algorithm>
#include <cmath>

namespace zelmora {

namespace {

constexpr double Width = 480;
constexpr double PlotRight = Width - 56;
constexpr int TickCount = 5;
constexpr int Bars = 24;

// F from round ticks below the least factor to above the greatest, 1 always within.
struct Axes {
    double low;
    double high;
    double step;
    double shareHigh; // of the tallest bar's axis

    double X(double factor) const {
        return PlotLeft + (factor - low) / (high - low) * (PlotRight - PlotLeft);
    }
    static double Y(double fraction) { return PlotBottom - fraction * (PlotBottom - PlotTop); }
};

std::vector<double> BarShares(const std::vector<std::array<double, 2>>& factors, const Axes& axes) {
    std::vector<double> shares(Bars, 0);
    double total = 0;
    for (const auto& [factor, weight] : factors) {
        const auto bar = static_cast<int>((factor - axes.low) / (axes.high - axes.low) * Bars);
        shares[std::clamp(bar, 0, Bars - 1)] += weight;
        total += weight;
    }
    for (double& share : shares) {
        share /= total;
    }
    return shares;
}

Axes AxesFor(const std::vector<std::array<double, 2>>& factors) {
    double lowest = 1;
    double highest = 1;
    for (const auto& factor : factors) {
        lowest = std::min(lowest, factor[0]);
        highest = std::max(highest, factor[0]);
    }
    const double step = RoundStep(std::max(highest - lowest, 1e-3), TickCount);
    Axes axes{std::floor(lowest / step + 1e-9) * step, std::ceil(highest / step - 1e-9) * step,
              step, 1};
    if (axes.high <= axes.low) {
        axes.high = axes.low + step;
    }
    const std::vector<double> shares = BarShares(factors, axes);
    const double tallest = *std::max_element(shares.begin(), shares.end());
    const double shareStep = RoundStep(tallest, 4);
    axes.shareHigh = std::ceil(tallest / shareStep - 1e-9) * shareStep;
    return axes;
}

std::string Histogram(const std::vector<std::array<double, 2>>& factors, const Axes& axes) {
    std::string content;
    const std::vector<double> shares = BarShares(factors, axes);
    const double width = (PlotRight - PlotLeft) / Bars;
    for (int bar = 0; bar < Bars; ++bar) {
        if (shares[bar] <= 0) {
            continue;
        }
        const double top = Axes::Y(shares[bar] / axes.shareHigh);
        content += R"(<rect x=")" + SvgNumber(PlotLeft + bar * width) + R"(" y=")" +
                   SvgNumber(top) + R"(" width=")" + SvgNumber(width) + R"(" height=")" +
                   SvgNumber(PlotBottom - top) + R"(" fill=")" + BandColour +
                   R"(" stroke="#ffffff" stroke-width="0.5"/>)" + "\n";
    }
    return content;
}

// The step curve of the cumulative share, one rise at each distinct factor.
std::string Cumulative(const std::vector<std::array<double, 2>>& factors, const Axes& axes) {
    std::string points = SvgNumber(PlotLeft) + "," + SvgNumber(Axes::Y(0));
    double before = 0;
    const std::vector<std::array<double, 2>> shares = CumulativeShares(factors);
    for (std::size_t k = 0; k < shares.size(); ++k) {
        if (k + 1 < shares.size() && shares[k + 1][0] == shares[k][0]) {
            continue;
        }
        const std::string x = SvgNumber(axes.X(shares[k][0]));
        points += " " + x + "," + SvgNumber(Axes::Y(before)) + " " + x + "," +
                  SvgNumber(Axes::Y(shares[k][1]));
        before = shares[k][1];
    }
    points += " " + SvgNumber(PlotRight) + "," + SvgNumber(Axes::Y(1));
    return R"(<polyline fill="none" stroke=")" + std::string(LineColour) +
           R"(" stroke-width="2" points=")" + points + R"("/>)" + "\n";
}

std::string Grid(const Axes& axes) {
    std::string content;
    const double shareStep = RoundStep(axes.shareHigh, 4);
    const int shareDecimals = StepDecimals(shareStep);
    for (int k = 0; k * shareStep <= axes.shareHigh + 1e-12; ++k) {
        const double y = Axes::Y(k * shareStep / axes.shareHigh);
        content +=
            SvgLine(PlotLeft, y, PlotRight, y, GridColour) +
            SvgText(PlotLeft - 6, y + 4, "end", FormatFixed(k * shareStep, 0, shareDecimals));
    }
    for (const double cumulative : {0.0, 0.5, 1.0}) {
        content +=
            SvgText(PlotRight + 6, Axes::Y(cumulative) + 4, "start", FormatFixed(cumulative, 0, 1));
    }
    const int decimals = StepDecimals(axes.step);
    const auto ticks = static_cast<int>(std::lround((axes.high - axes.low) / axes.step));
    for (int k = 0; k <= ticks; ++k) {
        const double factor = axes.low + k * axes.step;
        content +=
            SvgText(axes.X(factor), PlotBottom + 16, "middle", FormatFixed(factor, 0, decimals));
    }
    return content + SvgLine(PlotLeft, PlotTop, PlotLeft, PlotBottom, "#000000") +
           SvgLine(PlotRight, PlotTop, PlotRight, PlotBottom, "#000000") +
           SvgLine(PlotLeft, PlotBottom, PlotRight, PlotBottom, "#000000") +
           SvgText(16, (PlotTop + PlotBottom) / 2, "middle", "Share") +
           SvgText(Width - 8, PlotTop - 14, "end", "Cumulative") +
           SvgText((PlotLeft + PlotRight) / 2, ChartHeight - 8, "middle", "F");
}

std::string FactorOneMark(const Axes& axes) {
    const double x = axes.X(1);
    return R"(<line x1=")" + SvgNumber(x) + R"(" y1=")" + SvgNumber(PlotTop) + R"(" x2=")" +
           SvgNumber(x) + R"(" y2=")" + SvgNumber(PlotBottom) + R"(" stroke=")" + MarkColour +
           R"(" stroke-width="2" stroke-dasharray="6,3"/>)" + "\n" +
           SvgText(x + 4, PlotTop + 14, "start", "F = 1");
}

} // namespace

std::string FactorDistributionChartSvg(const SamplingResult& result) {
    const std::vector<std::array<double, 2>>& factors = DistributedFactors(result);
    if (factors.empty()) {
        return "";
    }
    const Axes axes = AxesFor(factors);
    const std::string title =
        std::string(result.surrogate ? "Predicted safety factors of the population"
                                     : "Sampled safety factors") +
        ": histogram and cumulative distribution";
    return SvgStart(Width, ChartHeight, title) + R"(<rect x="0" y="0" width=")" + SvgNumber(Width) +
           R"(" height=")" + SvgNumber(ChartHeight) + R"(" fill="#ffffff"/>)" + "\n" +
           SvgText(8, 18, "start", title) + Histogram(factors, axes) + Grid(axes) +
           Cumulative(factors, axes) + FactorOneMark(axes) + "</svg>\n";
}

} // namespace zelmora
