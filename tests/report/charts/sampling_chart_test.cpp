#include "report/charts/sampling_chart.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace zelmora {
namespace {

constexpr double PlotTop = 40;
constexpr double PlotBottom = 196;

// The y of every point of the element that starts with `tag`.
std::vector<double> PointsY(const std::string& svg, const std::string& tag) {
    const std::size_t at = svg.find(tag);
    EXPECT_NE(at, std::string::npos) << tag;
    const std::size_t start = svg.find("points=\"", at) + 8;
    std::istringstream points(svg.substr(start, svg.find('"', start) - start));
    std::vector<double> ys;
    for (std::string point; points >> point;) {
        ys.push_back(std::stod(point.substr(point.find(',') + 1)));
    }
    return ys;
}

// An estimate near 0.03 fills the plot with its band, whatever the band's place.
TEST(SamplingChart, TheProbabilityAxisFitsTheEstimatesAndBands) {
    struct Case {
        std::string name;
        std::vector<SamplingPoint> history;
    };
    const std::vector<Case> cases = {
        {"near 0.03", {{20, 0.031, {0.022, 0.041}}, {40, 0.03, {0.024, 0.037}}}},
        {"from 0", {{20, 0, {0, 0.16}}, {40, 0.025, {0.01, 0.06}}}},
        {"near 0.5", {{20, 0.5, {0.45, 0.55}}, {40, 0.49, {0.47, 0.51}}}},
    };
    const double height = PlotBottom - PlotTop;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SamplingResult result;
        result.history = c.history;
        const std::string svg = SamplingChartSvg(result);
        const std::vector<double> band = PointsY(svg, "<polygon ");
        const auto [top, bottom] = std::minmax_element(band.begin(), band.end());
        // Within the plot, a margin of at most a tenth of it either side.
        EXPECT_GE(*top, PlotTop);
        EXPECT_LE(*top, PlotTop + 0.1 * height);
        EXPECT_LE(*bottom, PlotBottom);
        EXPECT_GE(*bottom, PlotBottom - 0.1 * height);
        for (const double y : PointsY(svg, "<polyline ")) {
            EXPECT_GE(y, *top);
            EXPECT_LE(y, *bottom);
        }
    }
}

} // namespace
} // namespace zelmora
