#include "report/charts/factor_distribution_chart.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace zelmora {
namespace {

// The value of attribute `name` in the element that starts at `at`.
std::string Attribute(const std::string& svg, std::size_t at, const std::string& name) {
    const std::size_t start = svg.find(" " + name + "=\"", at) + name.size() + 3;
    return svg.substr(start, svg.find('"', start) - start);
}

// The heights of the histogram's bars, left to right.
std::vector<double> BarHeights(const std::string& svg) {
    std::vector<double> heights;
    for (auto at = svg.find("<rect ", svg.find("<rect ") + 1); at != std::string::npos;
         at = svg.find("<rect ", at + 1)) {
        heights.push_back(std::stod(Attribute(svg, at, "height")));
    }
    return heights;
}

TEST(FactorDistributionChart, NoFactorsNoChart) {
    EXPECT_EQ(FactorDistributionChartSvg(SamplingResult{}), "");
}

// Two factors, one of them weighted three times: its bar is three times as tall, F = 1 is marked
// between them, and the cumulative curve climbs to the top.
TEST(FactorDistributionChart, BarsFollowTheWeightsAndFOneIsMarked) {
    SamplingResult result;
    result.kind = SamplingKind::Importance;
    result.sampledFactors = {{1.4, 3}, {0.8, 1}};
    const std::string svg = FactorDistributionChartSvg(result);
    const std::vector<double> heights = BarHeights(svg);
    ASSERT_EQ(heights.size(), 2U);
    EXPECT_NEAR(heights[1], 3 * heights[0], 0.2);
    EXPECT_NE(svg.find(">F = 1</text>"), std::string::npos);
    const std::size_t mark = svg.find("stroke-dasharray");
    ASSERT_NE(mark, std::string::npos);
    const double markX = std::stod(Attribute(svg, svg.rfind("<line ", mark), "x1"));
    const double lowBar =
        std::stod(Attribute(svg, svg.find("<rect ", svg.find("<rect ") + 1), "x"));
    const double highBar = std::stod(Attribute(svg, svg.rfind("<rect "), "x"));
    EXPECT_GT(markX, lowBar);
    EXPECT_LT(markX, highBar);
    // The curve ends at the cumulative share 1, the top of the plot.
    const std::size_t curve = svg.find("<polyline ");
    const std::string points = Attribute(svg, curve, "points");
    EXPECT_EQ(points.substr(points.rfind(',') + 1), "40.0");
}

} // namespace
} // namespace zelmora
