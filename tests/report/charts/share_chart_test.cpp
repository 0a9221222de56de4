#include "analysis/methods/derived_results.h"
#include "project/project_state.h"
#include "report/charts/share_chart.h"
#include "tests/analysis/support/three_variable_project.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace zelmora {
namespace {

using testing::ThreeVariableProject;

struct Box {
    double x, y, width, height;
    std::string fill;
};

// The value of attribute `name` in the element that starts at `at`.
std::string Attribute(const std::string& svg, std::size_t at, const std::string& name) {
    const std::size_t start = svg.find(" " + name + "=\"", at) + name.size() + 3;
    return svg.substr(start, svg.find('"', start) - start);
}

std::vector<Box> Rects(const std::string& svg) {
    std::vector<Box> boxes;
    for (auto at = svg.find("<rect "); at != std::string::npos; at = svg.find("<rect ", at + 1)) {
        boxes.push_back({std::stod(Attribute(svg, at, "x")), std::stod(Attribute(svg, at, "y")),
                         std::stod(Attribute(svg, at, "width")),
                         std::stod(Attribute(svg, at, "height")), Attribute(svg, at, "fill")});
    }
    return boxes;
}

double AxisX(const std::string& svg) {
    const auto at = svg.find("<line ");
    EXPECT_NE(at, std::string::npos);
    return at == std::string::npos ? 0 : std::stod(Attribute(svg, at, "x1"));
}

// The rects after the background and the two legend keys: one bar per variable.
std::vector<Box> Bars(const std::string& svg) {
    const std::vector<Box> all = Rects(svg);
    return all.size() > 3 ? std::vector<Box>(all.begin() + 3, all.end()) : std::vector<Box>{};
}

TEST(ShareChartTest, SvgTinyWithoutStylesScriptsOrEffects) {
    ProjectState project = ThreeVariableProject();
    const std::string svg = ShareChartSvg(DeriveResults(project));
    EXPECT_EQ(
        svg.rfind(R"(<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny")", 0),
        0U);
    for (const char* banned : {"style", "class=", "filter", "mask", "script", "<?xml", "href"}) {
        EXPECT_EQ(svg.find(banned), std::string::npos) << banned;
    }
    EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
}

TEST(ShareChartTest, LargestOnTopAndANegativeSensitivityToTheLeft) {
    ProjectState project = ThreeVariableProject();
    const std::string svg = ShareChartSvg(DeriveResults(project));
    const std::vector<Box> bars = Bars(svg);
    ASSERT_EQ(bars.size(), 3U);
    const double axis = AxisX(svg);
    // Row 1 c (76.2 %), row 1 φ (19.0 %), row 2 c (-4.8 %), top to bottom.
    EXPECT_LT(bars[0].y, bars[1].y);
    EXPECT_LT(bars[1].y, bars[2].y);
    EXPECT_EQ(bars[0].fill, "#f0b35a");
    EXPECT_EQ(bars[1].fill, "#1f4e8c");
    EXPECT_EQ(bars[2].fill, "#f0b35a");
    EXPECT_NEAR(bars[0].x, axis, 0.051);
    EXPECT_NEAR(bars[1].x, axis, 0.051);
    EXPECT_NEAR(bars[2].x + bars[2].width, axis, 0.11);
    EXPECT_NEAR(bars[0].width / bars[1].width, 4.0, 0.02);
    EXPECT_NEAR(bars[0].width / bars[2].width, 16.0, 0.4);
    for (const char* text : {">Row 1 c, set 1</text>", ">76.2 %</text>", ">Row 1 φ, set 1</text>",
                             ">19.0 %</text>", ">Row 2 c, set 4</text>", ">-4.8 %</text>",
                             ">φ friction angle</text>", ">c cohesion</text>"}) {
        EXPECT_NE(svg.find(text), std::string::npos) << text;
    }
}

// Each bar keeps room for its percent beside its end: a bar of share 0 as well.
TEST(ShareChartTest, RoomForEveryPercent) {
    const struct {
        double f1, f11, f12; // F_mean is 1.5
    } cases[] = {{1.4, 1.3, 1.55}, {1.4, 1.3, 1.45}, {1.5, 1.5, 1.55}, {1.6, 1.7, 1.55}};
    for (const auto& c : cases) {
        ProjectState project = ThreeVariableProject();
        Entry(project.SafetyFactors, 1) = c.f1;
        Entry(project.SafetyFactors, 11) = c.f11;
        Entry(project.SafetyFactors, 12) = c.f12;
        const std::string svg = ShareChartSvg(DeriveResults(project));
        const double axis = AxisX(svg);
        for (const Box& bar : Bars(svg)) {
            const bool negative = bar.x < axis - 0.05;
            EXPECT_GE(negative ? bar.x - 160 : 632 - (bar.x + bar.width), 55.9)
                << c.f1 << " " << c.f11 << " " << c.f12;
        }
    }
}

TEST(ShareChartTest, ANoteWhenThereIsNoShare) {
    ProjectState project = ThreeVariableProject();
    Entry(project.SafetyFactors, 0) = 0;
    const std::string svg = ShareChartSvg(DeriveResults(project));
    EXPECT_TRUE(Bars(svg).empty());
    EXPECT_NE(svg.find(">No shares: the analysis has no result to show.</text>"),
              std::string::npos);
}

} // namespace
} // namespace zelmora
