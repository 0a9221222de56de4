#include "report/charts/iteration_chart.h"

#include "project/number_forms.h"
#include "report/charts/chart_style.h"
#include "report/charts/svg_elements.h"

#include <algorithm>
#include <cmath>

namespace zelmora {

namespace {

constexpr double Width = 480;
constexpr double PlotRight = Width - 56; // room for the last β's value
constexpr double Inset = 16;             // between the axis and the first and last dot
constexpr int TickCount = 4;             // about, between the lowest and the highest β
constexpr double Room = 0.25;            // in steps, above the highest β and below the lowest

// The β axis: round steps of 1, 2 or 5 times a power of ten that take in every β.
struct Scale {
    double low = 0;
    double high = 1;
    double step = 1;
    int lowSteps = 0; // low / step, so that each tick is a whole number of steps
    int steps = 1;
    int decimals = 0;

    double Y(double beta) const {
        return PlotBottom - (beta - low) / (high - low) * (PlotBottom - PlotTop);
    }
};

Scale ScaleFor(const std::vector<FormIteration>& history) {
    const auto [lowest, highest] = std::minmax_element(
        history.begin(), history.end(),
        [](const FormIteration& a, const FormIteration& b) { return a.beta < b.beta; });
    const double spread = std::max(highest->beta - lowest->beta, 0.1);
    const double magnitude = std::pow(10.0, std::floor(std::log10(spread / TickCount)));
    Scale scale;
    scale.step = magnitude;
    for (const double factor : {2.0, 5.0, 10.0}) {
        if (spread / scale.step > TickCount) {
            scale.step = factor * magnitude;
        }
    }
    const double middle = (highest->beta + lowest->beta) / 2;
    // A quarter step of room keeps the dots and the last β's value off the frame; a hair of
    // tolerance keeps a span that ends on a tick from reaching a step further.
    const double low =
        std::min(lowest->beta / scale.step - Room, (middle - spread / 2) / scale.step);
    const double high =
        std::max(highest->beta / scale.step + Room, (middle + spread / 2) / scale.step);
    scale.lowSteps = static_cast<int>(std::floor(low + 1e-9));
    scale.steps = static_cast<int>(std::ceil(high - 1e-9)) - scale.lowSteps;
    scale.low = scale.lowSteps * scale.step;
    scale.high = (scale.lowSteps + scale.steps) * scale.step;
    scale.decimals = std::max(0, static_cast<int>(-std::floor(std::log10(scale.step) + 1e-9)));
    return scale;
}

double X(std::size_t index, std::size_t count) {
    if (count < 2) {
        return (PlotLeft + PlotRight) / 2;
    }
    return PlotLeft + Inset +
           static_cast<double>(index) * (PlotRight - PlotLeft - 2 * Inset) /
               static_cast<double>(count - 1);
}

std::string Grid(const Scale& scale) {
    std::string content;
    for (int k = 0; k <= scale.steps; ++k) {
        const double beta = (scale.lowSteps + k) * scale.step;
        const double y = scale.Y(beta);
        content += SvgLine(PlotLeft, y, PlotRight, y, GridColour) +
                   SvgText(PlotLeft - 6, y + 4, "end", FormatFixed(beta, 0, scale.decimals));
    }
    return content + SvgLine(PlotLeft, PlotTop, PlotLeft, PlotBottom, "#000000") +
           SvgLine(PlotLeft, PlotBottom, PlotRight, PlotBottom, "#000000") +
           SvgText(16, (PlotTop + PlotBottom) / 2, "middle", "β") +
           SvgText((PlotLeft + PlotRight) / 2, ChartHeight - 8, "middle", "Iteration");
}

std::string Points(const std::vector<FormIteration>& history, const Scale& scale) {
    std::string polyline = R"(<polyline fill="none" stroke=")" + std::string(LineColour) +
                           R"(" stroke-width="2" points=")";
    std::string dots;
    for (std::size_t k = 0; k < history.size(); ++k) {
        const double x = X(k, history.size());
        const double y = scale.Y(history[k].beta);
        if (k > 0) {
            polyline += ' ';
        }
        polyline += SvgNumber(x) + "," + SvgNumber(y);
        dots += R"(<circle cx=")" + SvgNumber(x) + R"(" cy=")" + SvgNumber(y) +
                R"(" r="3.5" fill=")" + LineColour + R"("/>)" + "\n" +
                SvgText(x, PlotBottom + 16, "middle", FormatInteger(history[k].iteration, 0));
    }
    // The last β's value right of its dot, where no line runs.
    const double last = history.back().beta;
    return polyline + R"("/>)" + "\n" + dots +
           SvgText(X(history.size() - 1, history.size()) + 8, scale.Y(last) + 4, "start",
                   FormatFixed(last, 0, 4));
}

std::string Svg(double height, const std::string& title, const std::string& content) {
    return SvgStart(Width, height, title) + R"(<rect x="0" y="0" width=")" + SvgNumber(Width) +
           R"(" height=")" + SvgNumber(height) + R"(" fill="#ffffff"/>)" + "\n" +
           SvgText(8, 18, "start", title) + content + "</svg>\n";
}

} // namespace

std::string IterationChartSvg(const MethodResult& method) {
    const std::string title =
        std::string("β by iteration") + (method.converged ? "" : ", not converged");
    if (method.history.empty()) {
        return Svg(48, title, SvgText(8, 38, "start", "No iterations."));
    }
    const Scale scale = ScaleFor(method.history);
    return Svg(ChartHeight, title, Grid(scale) + Points(method.history, scale));
}

} // namespace zelmora
