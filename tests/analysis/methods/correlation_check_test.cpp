// The correlations an analysis accepts: pairs checked against the random strengths, the
// matrices of ρ and of ρ' positive definite, ρ' within (-1, 1).
#include "analysis/methods/correlation_check.h"
#include "analysis/methods/correlation_matrix.h"
#include "project/errors.h"
#include "project/project_state.h"
#include "study/study.h"

#include <cmath>
#include <gtest/gtest.h>

namespace zelmora {
namespace {

class CorrelationCheck : public ::testing::Test {
protected:
    static AnalysisInputs Inputs() {
        ProjectState project{};
        Row(project, 1) = {1, 30, 5, 10, 30}; // c: V = 3
        Row(project, 2) = {2, 25, 4, 16, 6};
        Row(project, 3) = {3, 20, 0, 12, 4}; // φ not random
        return InputsOf(project);
    }

    // The message the pairs end with, empty when they are accepted.
    std::string Refusal(const Correlations& pairs, bool lognormal) const {
        try {
            CorrelationsInUse(pairs, inputs_, lognormal);
            return "";
        } catch (const Error& error) {
            return error.what();
        }
    }

    const AnalysisInputs inputs_ = Inputs();
};

TEST_F(CorrelationCheck, RefusesWhatNoCorrelationMatrixHolds) {
    struct Case {
        Correlations pairs;
        bool lognormal;
        std::string start;
    };
    const std::vector<Case> cases{
        {{{1, 2, 0.3}, {2, 12, -0.5}, {11, 13, 0.3}}, true, ""},
        // V_φ = 0.17 beside V_c = 3: no pair of lognormals has ρ = -0.5.
        {{{1, 11, -0.5}}, true, "The correlation of the friction angle of row 1 (set 1) and"},
        {{{1, 3, 0.2}}, false, "A correlation names the friction angle of row 3 (set 3), which"},
        {{{2, 2, 0.2}}, false, "A correlation pairs the friction angle of row 2 (set 2) with"},
        {{{1, 11, 0.2}, {11, 1, 0.1}},
         false,
         "The correlation of the cohesion of row 1 (set 1) and the friction angle of row 1 (set "
         "1) is given twice."},
        {{{1, 11, -1}},
         false,
         "The correlation of the friction angle of row 1 (set 1) and the "
         "cohesion of row 1 (set 1) must lie strictly between -1 and 1."},
        {{{1, 2, 0.9}, {1, 11, 0.9}, {2, 11, -0.9}},
         false,
         "The correlations do not form a valid correlation matrix."},
        // ρ' = ln(1 - 0.95·3·0.375) / ... has no value: refused with lognormal strengths only.
        {{{11, 12, -0.95}}, false, ""},
        {{{11, 12, -0.95}}, true, "The correlation of the cohesion of row 1 (set 1) and the"},
    };
    for (const Case& c : cases) {
        const std::string refusal = Refusal(c.pairs, c.lognormal);
        if (c.start.empty()) {
            EXPECT_EQ(refusal, "");
        } else {
            EXPECT_EQ(refusal.rfind(c.start, 0), 0U) << refusal;
        }
    }
}

TEST_F(CorrelationCheck, PairsOfZeroAreNotInUseAndLognormalOnesGetTheNatafValue) {
    const auto normal = CorrelationsInUse({{1, 11, 0}, {2, 12, -0.5}}, inputs_, false);
    ASSERT_EQ(normal.size(), 1U);
    EXPECT_EQ(normal[0].rhoNormal, -0.5);
    const auto lognormal = CorrelationsInUse({{2, 12, -0.5}}, inputs_, true);
    // V_φ = 4/25, V_c = 6/16.
    const double expected =
        std::log(1 - 0.5 * 0.16 * 0.375) / std::sqrt(std::log(1 + 0.0256) * std::log(1 + 0.140625));
    EXPECT_NEAR(lognormal[0].rhoNormal, expected, 1e-15);
}

TEST_F(CorrelationCheck, StoredPairsOfAStrengthNoLongerRandomAreLeftOutWithANote) {
    std::string notes;
    const Correlations kept =
        PairsOfRandomStrengths({{1, 11, -0.5}, {3, 13, 0.2}}, inputs_.soil, notes);
    ASSERT_EQ(kept.size(), 1U);
    EXPECT_EQ(kept[0].b, 11);
    EXPECT_EQ(notes, "The correlation of the friction angle of row 3 (set 3) and the cohesion of "
                     "row 3 (set 3) is left out: the friction angle of row 3 (set 3) is not "
                     "random.\n");
}

TEST_F(CorrelationCheck, TheCholeskyFactorReproducesTheMatrix) {
    const Matrix matrix{{1, 0.4, -0.3}, {0.4, 1, 0.2}, {-0.3, 0.2, 1}};
    const Matrix factor = CholeskyFactor(matrix);
    for (std::size_t i = 0; i < 3; ++i) {
        for (std::size_t j = 0; j < 3; ++j) {
            double product = 0;
            for (std::size_t k = 0; k < 3; ++k) {
                product += factor[i][k] * factor[j][k];
            }
            EXPECT_NEAR(product, matrix[i][j], 1e-15) << i << "," << j;
            if (j > i) {
                EXPECT_EQ(factor[i][j], 0);
            }
        }
    }
}

} // namespace
} // namespace zelmora
