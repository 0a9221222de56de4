#include "analysis/methods/derived_results.h"
#include "project/project_state.h"
#include "report/tables/linearity_reading.h"
#include "report/tables/reliability_summary.h"
#include "report/tables/result_text.h"
#include "report/tables/sensitivity_table.h"
#include "tests/analysis/support/three_variable_project.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace zelmora {
namespace {

using testing::ThreeVariableProject;
using Cells = std::vector<std::string>;

TEST(ResultTextTest, NumberForms) {
    EXPECT_EQ(FixedText(1.5), "1.5000");
    EXPECT_EQ(FixedText(-0.05), "-0.0500");
    EXPECT_EQ(FixedText(26.593909, 2), "26.59");
    EXPECT_EQ(FixedText(std::nullopt), "—");
    EXPECT_EQ(ProbabilityText(0.014548), "1.455E-0002");
    EXPECT_EQ(ProbabilityText(-0.5), "-5.000E-0001");
    EXPECT_EQ(ProbabilityText(std::nullopt), "—");
}

// Three significant figures; below 0.001 a power of ten, where the rounding decides which side.
TEST(ResultTextTest, TheReportsProbabilityIsADecimalOfThreeFigures) {
    const std::pair<std::optional<double>, const char*> cases[] = {
        {0.033, "0.0330"},
        {0.030027, "0.0300"},
        {0.5, "0.500"},
        {1.0, "1.00"},
        {0.0012345, "0.00123"},
        {0.001, "0.00100"},
        {0.00099996, "0.00100"},
        {3.3e-4, "3.30 × 10⁻⁴"},
        {9.994e-4, "9.99 × 10⁻⁴"},
        {1.234e-12, "1.23 × 10⁻¹²"},
        {0.0, "0"},
        {-0.0, "0"},
        {std::nullopt, "—"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(DecimalProbabilityText(value), text) << value.value_or(-1);
    }
}

TEST(ResultTextTest, ShareInPercentWithTheSignOfTheSensitivity) {
    VariableResult v;
    EXPECT_EQ(ShareText(v), "—");
    v.sensitivity = -0.05;
    v.share = 1.0 / 21;
    EXPECT_EQ(ShareText(v), "-4.8");
    v.sensitivity = 0.2;
    v.share = 16.0 / 21;
    EXPECT_EQ(ShareText(v), "76.2");
    v.sensitivity = 0;
    v.share = 0;
    EXPECT_EQ(ShareText(v), "0.0");
}

TEST(ResultTextTest, VariableLabels) {
    VariableResult v;
    v.row = 10;
    v.setNumber = -3;
    v.parameter = Parameter::Cohesion;
    EXPECT_EQ(VariableLabel(v), "Row 10 c, set -3");
    v.row = 2;
    v.setNumber = 5;
    v.parameter = Parameter::FrictionAngle;
    EXPECT_EQ(VariableLabel(v), "Row 2 φ, set 5");
}

TEST(SensitivityTableTest, SortedByShareWithEveryColumn) {
    ProjectState project = ThreeVariableProject();
    const TextTable table = SensitivityTable(DeriveResults(project));
    EXPECT_EQ(table.header, (Cells{"No.", "Variable", "Row", "Set", "Parameter", "Mean",
                                   "Std. dev.", "Reduced value", "Reduced angle (°)",
                                   "Safety factor", "Sensitivity", "Share (%)"}));
    ASSERT_EQ(table.rows.size(), 3U);
    EXPECT_EQ(table.rows[0], (Cells{"2", "11", "1", "1", "c", "10.0000", "2.0000", "8.0000", "—",
                                    "1.3000", "0.2000", "76.2"}));
    EXPECT_EQ(table.rows[1], (Cells{"1", "1", "1", "1", "φ", "30.0000", "3.0000", "0.4477", "26.59",
                                    "1.4000", "0.1000", "19.0"}));
    EXPECT_EQ(table.rows[2], (Cells{"3", "12", "2", "4", "c", "5.0000", "1.0000", "4.0000", "—",
                                    "1.5500", "-0.0500", "-4.8"}));
}

TEST(SensitivityTableTest, WithoutAnAnalysisResult) {
    ProjectState project = ThreeVariableProject();
    Entry(project.SafetyFactors, 0) = 0;
    Entry(project.SafetyFactors, 12) = 0;
    const TextTable table = SensitivityTable(DeriveResults(project));
    EXPECT_EQ(table.rows[2],
              (Cells{"3", "12", "2", "4", "c", "5.0000", "1.0000", "4.0000", "—", "—", "—", "—"}));
}

TEST(SensitivityTableTest, TabSeparatedForASpreadsheet) {
    const TextTable table{{"A", "B c"}, {{"1", "—"}, {"-0.5", ""}}};
    EXPECT_EQ(TabSeparated(table), "A\tB c\n1\t—\n-0.5\t\n");
    EXPECT_EQ(TabSeparated({{"A"}, {}}), "A\n");
}

TEST(ReliabilitySummaryTest, ThreeVariables) {
    ProjectState project = ThreeVariableProject();
    const std::vector<SummaryLine> lines = ReliabilitySummary(DeriveResults(project), project.Beta);
    std::vector<Cells> shown;
    for (const SummaryLine& line : lines) {
        shown.push_back({line.name, line.caption, line.value});
    }
    EXPECT_EQ(
        shown,
        (std::vector<Cells>{
            {"Beta", "β:", "2.1822"},
            {"Probability", "Probability of failure (approximation):", "1.460E-0002"},
            {"ExactProbability", "Probability of failure, normal Φ(−β):", "1.455E-0002"},
            {"BetaLognormal", "β for a lognormal safety factor, β_LN:", "2.5938"},
            {"LognormalProbability", "Probability of failure, lognormal Φ(−β_LN):", "4.746E-0003"},
            {"SigmaF", "Standard deviation of the safety factor σ_F:", "0.2291"},
            {"Cov", "Coefficient of variation V = σ_F / F_mean:", "0.1528"},
            {"Linearity", "Linearity (1 = perfect):", "1.0000"}}));
}

TEST(ReliabilitySummaryTest, OnlyTheStoredBetaWithoutAResult) {
    ProjectState project = ThreeVariableProject();
    Entry(project.SafetyFactors, 0) = 0;
    project.Beta = 0;
    const std::vector<SummaryLine> lines = ReliabilitySummary(DeriveResults(project), project.Beta);
    EXPECT_EQ(lines[0].value, "0.0000");
    EXPECT_EQ(lines[1].value, "4.999E-0001");
    for (std::size_t k = 2; k < lines.size(); ++k) {
        EXPECT_EQ(lines[k].value, "—") << lines[k].name;
    }
}

TEST(LinearityReadingTest, Bands) {
    const struct {
        double linearity;
        LinearityBand band;
    } cases[] = {
        {1.0, LinearityBand::Close},
        {0.9, LinearityBand::Close},
        {1.1, LinearityBand::Close},
        {0.8999, LinearityBand::Fair},
        {1.1001, LinearityBand::Fair},
        {0.75, LinearityBand::Fair},
        {1.25, LinearityBand::Fair},
        {0.7499, LinearityBand::Far},
        {1.2501, LinearityBand::Far},
        {-1.0, LinearityBand::Far},
        {std::numeric_limits<double>::quiet_NaN(), LinearityBand::Far},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BandOf(c.linearity), c.band) << c.linearity;
    }
}

TEST(LinearityReadingTest, EachBandSaysWhatItMeansForBeta) {
    EXPECT_EQ(LinearityReading(1.02),
              "Close to 1: the safety factor falls almost in a straight line as the variables "
              "are lowered, so the first-order β describes it well.");
    EXPECT_EQ(LinearityReading(0.8),
              "Somewhat off 1: the safety factor bends over the step, so read β as an estimate. "
              "Repeat the analysis with a smaller step size to see whether β holds.");
    EXPECT_EQ(LinearityReading(1.6),
              "Far from 1: the safety factor does not respond in a straight line (or the "
              "variables act together), so β from this first-order analysis cannot be trusted. "
              "A smaller step size is the usual remedy; if the linearity stays far from 1, do "
              "not rely on β.");
    EXPECT_EQ(LinearityReading(std::nullopt), "No linearity: the analysis did not run to its end.");
}

} // namespace
} // namespace zelmora
