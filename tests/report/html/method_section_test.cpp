#include "project/project_state.h"
#include "report/charts/iteration_chart.h"
#include "report/html/html_method_section.h"
#include "report/html/html_report.h"
#include "tests/analysis/support/method_results.h"
#include "tests/analysis/support/three_variable_project.h"

#include <gtest/gtest.h>
#include <string>

namespace zelmora {
namespace {

using testing::FormResult;
using testing::TaylorResult;
using testing::ThreeVariableProject;
using testing::UnsettledFormResult;

AnalysisRecord WithMethod(const MethodResult& method) {
    AnalysisRecord record;
    record.method = method;
    return record;
}

bool Contains(const std::string& html, const std::string& text) {
    return html.find(text) != std::string::npos;
}

class MethodSectionTest : public ::testing::Test {
protected:
    ProjectState project_ = ThreeVariableProject();
};

TEST_F(MethodSectionTest, TaylorSharesLargestFirst) {
    const AnalysisRecord record = WithMethod(TaylorResult());
    EXPECT_EQ(
        MethodSectionHtml(&record, project_.SoilTable),
        "<h2>Taylor series</h2>\n"
        "<p>Central differences, one more run per variable; the curvature shows how the safety "
        "factor bends.</p>\n"
        "<table class=\"facts\">\n"
        "<tr><th>β:</th><td class=\"n\">2.2003</td></tr>\n"
        "<tr><th>Probability of failure, normal Φ(−β):</th><td class=\"n\">0.0139</td></tr>\n"
        "<tr><th>β for a lognormal safety factor, β_LN:</th><td class=\"n\">2.5046</td></tr>\n"
        "<tr><th>Probability of failure, lognormal Φ(−β_LN):</th><td class=\"n\">0.00613"
        "</td></tr>\n"
        "<tr><th>Runs added:</th><td class=\"n\">3</td></tr>\n"
        "</table>\n"
        "<table>\n"
        "<thead><tr><th>Variable</th><th class=\"n\">Sensitivity</th><th class=\"n\">Curvature"
        "</th><th class=\"n\">Share (%)</th></tr>\n</thead>\n<tbody>\n"
        "<tr><td>Row 1 c, set 1</td><td class=\"n\">0.1900</td><td class=\"n\">0.0125</td>"
        "<td class=\"n\">69.7</td></tr>\n"
        "<tr><td>Row 1 φ, set 1</td><td class=\"n\">0.1100</td><td class=\"n\">-0.0200</td>"
        "<td class=\"n\">23.4</td></tr>\n"
        "<tr><td>Row 2 c, set 4</td><td class=\"n\">-0.0600</td><td class=\"n\">0.0000</td>"
        "<td class=\"n\">-6.9</td></tr>\n"
        "</tbody>\n</table>\n");
}

TEST_F(MethodSectionTest, FormDesignPointAndChart) {
    const AnalysisRecord record = WithMethod(FormResult());
    const std::string html = MethodSectionHtml(&record, project_.SoilTable);
    EXPECT_EQ(
        html.rfind(
            "<h2>FORM with lognormal strengths</h2>\n<p>The Hasofer–Lind index, by iteration;", 0),
        0U);
    for (const char* text :
         {"<tr><th>β:</th><td class=\"n\">2.0512</td></tr>",
          "<tr><th>Probability of failure, normal Φ(−β):</th><td class=\"n\">0.0201</td>",
          "<tr><th>Runs added:</th><td class=\"n\">8</td></tr>\n"
          "<tr><th>Iterations:</th><td class=\"n\">3</td></tr>\n"
          "<tr><th>Converged:</th><td class=\"n\">yes</td></tr>",
          "<thead><tr><th>Variable</th><th>Unit</th><th class=\"n\">Mean</th>"
          "<th class=\"n\">Design value</th><th class=\"n\">α</th><th class=\"n\">α² (%)</th>"
          "</tr>",
          "<tbody>\n"
          "<tr><td>Row 1 c, set 1</td><td>kN/m²</td><td class=\"n\">10.0000</td>"
          "<td class=\"n\">7.9012</td><td class=\"n\">0.9000</td><td class=\"n\">81.0</td></tr>\n"
          "<tr><td>Row 1 φ, set 1</td><td>°</td><td class=\"n\">30.0000</td>"
          "<td class=\"n\">27.8123</td><td class=\"n\">0.4000</td><td class=\"n\">16.0</td></tr>\n"
          "<tr><td>Row 2 c, set 4</td><td>kN/m²</td><td class=\"n\">5.0000</td>"
          "<td class=\"n\">5.1234</td><td class=\"n\">-0.1732</td><td class=\"n\">-3.0</td></tr>\n"
          "</tbody>"}) {
        EXPECT_TRUE(Contains(html, text)) << text;
    }
    EXPECT_FALSE(Contains(html, "β_LN"));
    const std::string chart = IterationChartSvg(FormResult());
    EXPECT_EQ(html.substr(html.size() - chart.size()), chart);
}

// The calculator's safety factor did not follow row 2's cohesion: its α came out as -0.
TEST_F(MethodSectionTest, AnAlphaOfZeroWithoutSign) {
    MethodResult form = FormResult();
    form.designPoint[2].value = 5;
    form.designPoint[2].alpha = -0.0;
    const AnalysisRecord record = WithMethod(form);
    EXPECT_TRUE(Contains(MethodSectionHtml(&record, project_.SoilTable),
                         "<tr><td>Row 2 c, set 4</td><td>kN/m²</td><td class=\"n\">5.0000</td>"
                         "<td class=\"n\">5.0000</td><td class=\"n\">0.0000</td>"
                         "<td class=\"n\">0.0</td></tr>"));
}

TEST_F(MethodSectionTest, AFormThatDidNotConvergeSaysSoFirst) {
    const AnalysisRecord record = WithMethod(UnsettledFormResult());
    const std::string html = MethodSectionHtml(&record, project_.SoilTable);
    EXPECT_EQ(html.rfind("<h2>FORM with normal strengths: not converged</h2>\n"
                         "<p class=\"note\">Not converged in 10 iterations: β and the design "
                         "point are the last iteration&#39;s.</p>\n",
                         0),
              0U)
        << html;
    EXPECT_TRUE(Contains(html, "<tr><th>Converged:</th><td class=\"n\">no</td></tr>"));
    EXPECT_TRUE(Contains(html, "<title>β by iteration, not converged</title>"));
}

TEST_F(MethodSectionTest, NoSectionWithoutAMethod) {
    const AnalysisRecord none;
    MethodResult firstOrder;
    firstOrder.beta = 2;
    const AnalysisRecord plain = WithMethod(firstOrder);
    for (const AnalysisRecord* record : {static_cast<const AnalysisRecord*>(nullptr), &none,
                                         static_cast<const AnalysisRecord*>(&plain)}) {
        EXPECT_EQ(MethodSectionHtml(record, project_.SoilTable), "");
    }
}

// The first-order sections stay as they are; the method's follows the sensitivities, before
// the picture of the slip surface. The summary and the methods' descriptions before the results
// name the method too.
TEST_F(MethodSectionTest, TheReportAddsTheSectionAfterTheFirstOrderOnes) {
    const auto fromResults = [](const std::string& page) {
        return page.substr(page.find("<h2>Results</h2>"));
    };
    for (const MethodResult& method : {TaylorResult(), FormResult(), UnsettledFormResult()}) {
        AnalysisRecord record;
        record.outcomes.push_back({});
        record.outcomes.back().picture = "<svg xmlns=\"http://www.w3.org/2000/svg\"/>";
        std::string expected = fromResults(HtmlReport("/home/eng/slope.zmo", project_, &record, 0));
        record.method = method;
        const std::string page =
            fromResults(HtmlReport("/home/eng/slope.zmo", project_, &record, 0));
        const std::size_t surface = expected.find("<h2>Critical slip surface</h2>");
        ASSERT_NE(surface, std::string::npos);
        EXPECT_EQ(page, expected.insert(surface, MethodSectionHtml(&record, project_.SoilTable)));
    }
}

} // namespace
} // namespace zelmora
