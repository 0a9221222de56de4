// The Taylor series method and FORM after the first-order analysis, checked against responses
// whose reliability is known: a linear one, where all three agree, and a nonlinear one, against
// an independent FORM with exact derivatives.
#include "analysis/analysis_driver.h"
#include "project/errors.h"
#include "project/project_state.h"
#include "support/calculator_project.h"
#include "tests/support/file_bytes.h"
#include "tests/support/memory_log.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace zelmora {
namespace {

using testing::CalculatorProject;

double Sine(double degrees) {
    return std::sin(degrees * std::numbers::pi / 180);
}

class ReliabilityMethods : public ::testing::Test {
protected:
    void SetUp() override {
        State = ProjectState{};
        project_.Reset();
        State.StepSize = 0.5;
        test_support::WriteBytes(State.ProjectPath, "model\n");
    }

    AnalysisRecord Analyse(Method method, int parallelRuns = 1,
                           StrengthDistribution strengths = StrengthDistribution::Normal) {
        test_support::MemoryLog log;
        const std::unique_ptr<ProcessSet> processes = MakeChildProcesses();
        AnalysisOptions options;
        options.parallelRuns = parallelRuns;
        options.method = method;
        options.strengths = strengths;
        AnalysisRecord record;
        RunAnalysis(log, *processes, options, record);
        log_ = log.lines;
        return record;
    }

    CalculatorProject project_;
    std::vector<std::string> log_;
};

// F = 0.2 + 0.03 c1 + 0.02 c2: the cohesions alone vary.
TEST_F(ReliabilityMethods, ALinearResponseGivesTheFirstOrderBetaAndFormConvergesInTwoIterations) {
    project_.WriteModel("base 0.2\nterm 1 4 0.03 20\nterm 2 4 0.02 15\n");
    Row(State, 1) = {1, 30, 0, 20, 4};
    Row(State, 2) = {2, 25, 0, 15, 5};
    // sigma_F = sqrt((0.03*4)^2 + (0.02*5)^2); the written cohesions are exact here.
    const double meanFactor = 0.2 + 0.03 * 20 + 0.02 * 15;
    const double beta = (meanFactor - 1) / std::hypot(0.03 * 4, 0.02 * 5);

    const AnalysisRecord taylor = Analyse(Method::Taylor);
    EXPECT_NEAR(State.Beta, beta, 1e-9);
    ASSERT_TRUE(taylor.method && taylor.method->beta);
    EXPECT_EQ(taylor.method->runs, 2);
    EXPECT_NEAR(*taylor.method->beta, beta, 1e-9);
    for (const MethodVariable& v : taylor.method->variables) {
        EXPECT_NEAR(*v.curvature, 0, 1e-9);
    }
    EXPECT_NEAR(*taylor.method->variables[0].share, 0.0144 / (0.0144 + 0.01), 1e-9);
    EXPECT_EQ(log_[log_.size() - 3], "Taylor series: 2 runs");

    const AnalysisRecord form = Analyse(Method::Form);
    ASSERT_TRUE(form.method && form.method->beta);
    EXPECT_TRUE(form.method->converged);
    EXPECT_EQ(form.method->iterations, 2);
    EXPECT_EQ(form.method->runs, 3);
    EXPECT_NEAR(*form.method->beta, beta, 1e-3);
    // The design point lies on F = 1, along the direction cosines.
    const auto& point = form.method->designPoint;
    ASSERT_EQ(point.size(), 2U);
    EXPECT_NEAR(0.2 + 0.03 * point[0].value + 0.02 * point[1].value, 1.0, 1e-3);
    EXPECT_NEAR(point[0].alpha * point[0].alpha + point[1].alpha * point[1].alpha, 1, 1e-12);
    EXPECT_GT(point[0].alpha, 0);
}

// An independent FORM of g = 0.4 + sum(a sin(phi) + b c) - 1 with exact derivatives, normal
// strengths.
struct Term {
    double a, b, phiMean, phiSd, cMean, cSd;
};

double ExactFormBeta(const std::vector<Term>& terms, std::vector<double>& design) {
    std::vector<double> u(2 * terms.size(), 0.0);
    double beta = 0;
    for (int iteration = 0; iteration < 100; ++iteration) {
        double g = 0.4 - 1;
        std::vector<double> gradient;
        for (std::size_t k = 0; k < terms.size(); ++k) {
            const Term& t = terms[k];
            const double phi = t.phiMean + t.phiSd * u[2 * k];
            const double c = t.cMean + t.cSd * u[2 * k + 1];
            g += t.a * Sine(phi) + t.b * c;
            gradient.push_back(t.a * std::cos(phi * std::numbers::pi / 180) * std::numbers::pi /
                               180 * t.phiSd);
            gradient.push_back(t.b * t.cSd);
        }
        double norm = 0;
        double along = 0;
        for (std::size_t k = 0; k < u.size(); ++k) {
            norm += gradient[k] * gradient[k];
            along += gradient[k] * u[k];
        }
        norm = std::sqrt(norm);
        beta = (g - along) / norm;
        for (std::size_t k = 0; k < u.size(); ++k) {
            u[k] = -gradient[k] / norm * beta;
        }
    }
    design.clear();
    for (std::size_t k = 0; k < terms.size(); ++k) {
        design.push_back(terms[k].phiMean + terms[k].phiSd * u[2 * k]);
        design.push_back(terms[k].cMean + terms[k].cSd * u[2 * k + 1]);
    }
    return beta;
}

TEST_F(ReliabilityMethods, FormAgreesWithAnExactFormOnANonlinearResponse) {
    // The friction term a sin(phi) is nonlinear in phi; wide deviations make it matter.
    const std::vector<Term> terms{{0.8, 0.02, 35, 8, 12, 3}, {0.5, 0.01, 28, 6, 8, 2}};
    project_.WriteModel("base 0.4\nterm 1 3 0.8 0.5\nterm 1 4 0.02 12\nterm 2 3 0.5 0.5\n"
                        "term 2 4 0.01 8\n");
    Row(State, 1) = {1, 35, 8, 12, 3};
    Row(State, 2) = {2, 28, 6, 8, 2};
    std::vector<double> design;
    const double exact = ExactFormBeta(terms, design);

    const AnalysisRecord form = Analyse(Method::Form);
    ASSERT_TRUE(form.method && form.method->beta);
    EXPECT_TRUE(form.method->converged);
    EXPECT_NEAR(*form.method->beta, exact, 0.01 * std::abs(exact));
    // Variables in list order: phi 1, phi 2, c 1, c 2.
    const std::vector<double> expected{design[0], design[2], design[1], design[3]};
    for (std::size_t k = 0; k < expected.size(); ++k) {
        EXPECT_NEAR(form.method->designPoint[k].value, expected[k], 0.02 * std::abs(expected[k]))
            << "variable " << k;
    }
    EXPECT_EQ(form.method->runs, (form.method->iterations - 1) * 5);
    EXPECT_EQ(log_[log_.size() - 3].rfind("FORM iteration", 0), 0U);
}

// The method's runs go side by side like the first-order ones and give the same result.
TEST_F(ReliabilityMethods, EveryNumberOfParallelRunsGivesTheSameMethodResult) {
    project_.WriteModel("base 0.4\nterm 1 3 1.4 0.5\nterm 1 4 0.02 12\n");
    Row(State, 1) = {1, 35, 8, 12, 3};
    for (const Method method : {Method::Taylor, Method::Form}) {
        const AnalysisRecord one = Analyse(method, 1, StrengthDistribution::Lognormal);
        const std::vector<std::string> firstLog = log_;
        const AnalysisRecord three = Analyse(method, 3, StrengthDistribution::Lognormal);
        EXPECT_EQ(log_, firstLog);
        EXPECT_EQ(*three.method->beta, *one.method->beta);
        EXPECT_EQ(three.method->runs, one.method->runs);
    }
}

TEST_F(ReliabilityMethods, ValuesTheCalculatorCannotTakeEndTheMethodNamingTheVariable) {
    project_.WriteModel("base 0.4\nterm 1 3 1.4 0.5\nterm 1 4 0.02 12\n");
    Row(State, 1) = {1, 80, 40, 12, 3};
    try {
        Analyse(Method::Taylor);
        ADD_FAILURE() << "an increased sine above 1 was written";
    } catch (const Error& error) {
        EXPECT_NE(std::string(error.what()).find("the friction angle of row 1 (set 1)"),
                  std::string::npos)
            << error.what();
    }
    // Known beforehand, so refused before the first-order runs.
    EXPECT_EQ(project_.History(), "");

    // F = 1 needs a cohesion of -2.
    project_.WriteModel("base 1.02\nterm 1 4 0.01 2\n");
    Row(State, 1) = {1, 30, 0, 2, 3};
    try {
        Analyse(Method::Form);
        ADD_FAILURE() << "a negative cohesion was written";
    } catch (const Error& error) {
        EXPECT_NE(std::string(error.what()).find("lognormal"), std::string::npos) << error.what();
    }
}

// F = 2.5 - 1.2 sin φ stays above 1 up to 90°: the design point lies beyond, whatever the
// strengths' distribution. Lognormal strengths are suggested only while normal ones are used.
TEST_F(ReliabilityMethods, FormSuggestsLognormalStrengthsOnlyWhileNormalOnesAreUsed) {
    project_.WriteModel("base 2.5\nterm 1 3 -1.2 0.5\n");
    Row(State, 1) = {1, 60, 10, 12, 0};
    for (const auto strengths : {StrengthDistribution::Normal, StrengthDistribution::Lognormal}) {
        try {
            Analyse(Method::Form, 1, strengths);
            ADD_FAILURE() << "a friction angle above 90 degrees was written";
        } catch (const Error& error) {
            const std::string message = error.what();
            EXPECT_EQ(message.rfind("FORM: the design point needs the friction angle of row 1", 0),
                      0U)
                << message;
            EXPECT_EQ(message.find("lognormal") != std::string::npos,
                      strengths == StrengthDistribution::Normal)
                << message;
        }
    }
}

} // namespace
} // namespace zelmora
