#include "report/charts/iteration_chart.h"
#include "tests/analysis/support/method_results.h"

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

struct Dot {
    double x, y;
};

std::vector<Dot> Dots(const std::string& svg) {
    std::vector<Dot> dots;
    for (auto at = svg.find("<circle "); at != std::string::npos;
         at = svg.find("<circle ", at + 1)) {
        dots.push_back({std::stod(Attribute(svg, at, "cx")), std::stod(Attribute(svg, at, "cy"))});
    }
    return dots;
}

// The texts right-aligned left of the plot: the β scale, top to bottom.
std::vector<std::string> ScaleLabels(const std::string& svg) {
    std::vector<std::string> labels;
    for (auto at = svg.find("<text "); at != std::string::npos; at = svg.find("<text ", at + 1)) {
        if (Attribute(svg, at, "text-anchor") == "end") {
            const std::size_t start = svg.find('>', at) + 1;
            labels.insert(labels.begin(), svg.substr(start, svg.find('<', start) - start));
        }
    }
    return labels;
}

// The height of the gridline whose label reads `label`.
double GridY(const std::string& svg, const std::string& label) {
    const std::size_t text = svg.find(">" + label + "</text>");
    const std::size_t line = svg.rfind("<line ", text);
    EXPECT_NE(text, std::string::npos) << label;
    return text == std::string::npos ? 0 : std::stod(Attribute(svg, line, "y1"));
}

MethodResult WithBetas(const std::vector<double>& betas) {
    MethodResult form = testing::FormResult();
    form.history.clear();
    for (std::size_t k = 0; k < betas.size(); ++k) {
        form.history.push_back({static_cast<int>(k) + 1, betas[k], 0});
    }
    return form;
}

TEST(IterationChartTest, SvgTinyWithoutStylesScriptsOrEffects) {
    for (const MethodResult& form :
         {testing::FormResult(), testing::UnsettledFormResult(), WithBetas({})}) {
        const std::string svg = IterationChartSvg(form);
        EXPECT_EQ(svg.rfind(R"(<svg xmlns="http://www.w3.org/2000/svg" version="1.2" )"
                            R"(baseProfile="tiny")",
                            0),
                  0U);
        for (const char* banned :
             {"style", "class=", "filter", "mask", "script", "<?xml", "href", "nan", "inf"}) {
            EXPECT_EQ(svg.find(banned), std::string::npos) << banned;
        }
        EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
    }
}

// Round steps that take in every β with room to spare; each dot at its β's height, one per
// iteration, left to right, with the iteration's number under it.
TEST(IterationChartTest, BetaOnARoundScale) {
    const struct {
        std::vector<double> betas;
        std::vector<std::string> scale;
        std::string tick; // a label of the scale where a β lies
        std::size_t onTick;
    } cases[] = {
        {{2.1, 2.3, 2.28}, {"2.35", "2.30", "2.25", "2.20", "2.15", "2.10", "2.05"}, "2.30", 1},
        {{1.5}, {"1.55", "1.50", "1.45"}, "1.50", 0},
        {{-0.3, 0.4}, {"0.6", "0.4", "0.2", "0.0", "-0.2", "-0.4"}, "0.4", 1},
        {{12.3, 25.0, 18.0}, {"30", "25", "20", "15", "10"}, "25", 1},
        {{3.0, 3.0, 3.0}, {"3.05", "3.00", "2.95"}, "3.00", 2},
    };
    for (const auto& c : cases) {
        const std::string svg = IterationChartSvg(WithBetas(c.betas));
        EXPECT_EQ(ScaleLabels(svg), c.scale) << c.betas.front();
        const std::vector<Dot> dots = Dots(svg);
        ASSERT_EQ(dots.size(), c.betas.size());
        EXPECT_NEAR(dots[c.onTick].y, GridY(svg, c.tick), 0.051);
        const double top = GridY(svg, c.scale.front());
        const double bottom = GridY(svg, c.scale.back());
        for (std::size_t k = 0; k < dots.size(); ++k) {
            EXPECT_GT(dots[k].y, top + 4); // off the frame, room for the last β's value
            EXPECT_LT(dots[k].y, bottom - 4);
            if (k > 0) {
                EXPECT_GT(dots[k].x, dots[k - 1].x);
                EXPECT_EQ(dots[k].y<dots[k - 1].y, c.betas[k]> c.betas[k - 1]);
            }
            EXPECT_NE(svg.find(">" + std::to_string(k + 1) + "</text>"), std::string::npos);
        }
    }
}

TEST(IterationChartTest, TheLastBetaAndWhetherItConverged) {
    std::string svg = IterationChartSvg(testing::FormResult());
    EXPECT_NE(svg.find("<title>β by iteration</title>"), std::string::npos);
    EXPECT_NE(svg.find(">2.0512</text>"), std::string::npos);
    EXPECT_EQ(svg.find("not converged"), std::string::npos);
    svg = IterationChartSvg(testing::UnsettledFormResult());
    EXPECT_NE(svg.find(">β by iteration, not converged</text>"), std::string::npos);
    EXPECT_EQ(Dots(svg).size(), 10U);
    EXPECT_NE(svg.find(">1.9000</text>"), std::string::npos); // the tenth
}

TEST(IterationChartTest, ANoteWithoutIterations) {
    const std::string svg = IterationChartSvg(WithBetas({}));
    EXPECT_TRUE(Dots(svg).empty());
    EXPECT_NE(svg.find(">No iterations.</text>"), std::string::npos);
}

} // namespace
} // namespace zelmora
