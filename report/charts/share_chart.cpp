#include "report/charts/share_chart.h"

#include "report/charts/svg_elements.h"
#include "report/tables/result_text.h"

#include <algorithm>

namespace zelmora {

namespace {

constexpr double Width = 640;
constexpr double LabelRight = 150; // the labels end here, right-aligned
constexpr double BarsLeft = 160;
constexpr double BarsRight = Width - 8;
constexpr double PercentRoom = 56; // beside a bar's end, for its percent
constexpr double FirstRow = 48;
constexpr double RowHeight = 26;
constexpr double BarHeight = 16;
const char* const FrictionColour = "#1f4e8c"; // dark: black in grey prints
const char* const CohesionColour = "#f0b35a"; // light: pale grey in grey prints

std::string Rect(double x, double y, double width, double height, const std::string& fill) {
    return R"(<rect x=")" + SvgNumber(x) + R"(" y=")" + SvgNumber(y) + R"(" width=")" +
           SvgNumber(width) + R"(" height=")" + SvgNumber(height) + R"(" fill=")" + fill +
           R"(" stroke="#000000" stroke-width="0.6"/>)" + "\n";
}

std::string Colour(Parameter parameter) {
    return parameter == Parameter::FrictionAngle ? FrictionColour : CohesionColour;
}

// Where the zero line stands and how many pixels a share of 1 takes, so that the longest bar
// on either side still leaves room for its percent.
struct Scale {
    double axis = BarsLeft;
    double perShare = 0;
};

Scale ScaleFor(const std::vector<VariableResult>& variables) {
    double left = 0;
    double right = 0;
    bool anyLeft = false;
    bool anyRight = false;
    for (const VariableResult& v : variables) {
        const bool negative = v.sensitivity.value_or(0) < 0;
        (negative ? anyLeft : anyRight) = true;
        double& side = negative ? left : right;
        side = std::max(side, v.share.value_or(0));
    }
    const double leftRoom = anyLeft ? PercentRoom : 0;
    const double rightRoom = anyRight ? PercentRoom : 0;
    Scale scale;
    scale.perShare = (BarsRight - BarsLeft - leftRoom - rightRoom) / std::max(left + right, 1e-9);
    scale.axis = BarsLeft + leftRoom + left * scale.perShare;
    return scale;
}

std::string Bar(const VariableResult& v, double top, const Scale& scale) {
    const double length = v.share.value_or(0) * scale.perShare;
    const bool negative = v.sensitivity.value_or(0) < 0;
    const double x = negative ? scale.axis - length : scale.axis;
    const double baseline = top + BarHeight - 4;
    const std::string percent = ShareText(v) + " %";
    return SvgText(LabelRight, baseline, "end", VariableLabel(v)) +
           Rect(x, top, length, BarHeight, Colour(v.parameter)) +
           (negative ? SvgText(x - 4, baseline, "end", percent)
                     : SvgText(x + length + 4, baseline, "start", percent));
}

std::string Legend() {
    return SvgText(8, 18, "start", "Share of the variance of the safety factor") +
           Rect(BarsRight - 196, 8, 12, 12, FrictionColour) +
           SvgText(BarsRight - 180, 18, "start", "φ friction angle") +
           Rect(BarsRight - 82, 8, 12, 12, CohesionColour) +
           SvgText(BarsRight - 66, 18, "start", "c cohesion");
}

std::string Svg(double height, const std::string& content) {
    return SvgStart(Width, height, "Share of the variance") + Rect(0, 0, Width, height, "#ffffff") +
           content + "</svg>\n";
}

} // namespace

std::string ShareChartSvg(const DerivedResults& results) {
    const std::vector<VariableResult> variables = ByShare(results);
    if (variables.empty() || !variables.front().share) {
        return Svg(32, SvgText(8, 20, "start", "No shares: the analysis has no result to show."));
    }
    const Scale scale = ScaleFor(variables);
    std::string content = Legend();
    double top = FirstRow;
    for (const VariableResult& v : variables) {
        content += Bar(v, top, scale);
        top += RowHeight;
    }
    const double bottom = top - RowHeight + BarHeight + 4;
    content += SvgLine(scale.axis, FirstRow - 6, scale.axis, bottom, "#000000");
    return Svg(top + 4, content);
}

} // namespace zelmora
