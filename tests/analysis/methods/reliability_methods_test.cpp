// The Taylor series method and FORM after the first-order analysis, checked against responses
// whose reliability is known: a linear one, where all three agree, and a nonlinear one, against
// an independent FORM with exact derivatives.
#include "analysis/analysis_driver.h"
#include "analysis/methods/correlated_beta.h"
#include "project/errors.h"
#include "project/project_state.h"
#include "tests/analysis/support/calculator_project.h"
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
        options.correlations = correlations_;
        AnalysisRecord record;
        RunAnalysis(log, *processes, options, record);
        log_ = log.lines;
        return record;
    }

    CalculatorProject project_;
    Correlations correlations_;
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
    EXPECT_EQ(form.method->runs, 4); // two, one more beside it, and the design point's
    EXPECT_NEAR(*form.method->beta, beta, 1e-3);
    // The run at the design point finds F = 1 there and keeps its picture rule's outcome.
    ASSERT_TRUE(form.method->designPointFactor);
    EXPECT_NEAR(*form.method->designPointFactor, 1.0, 1e-3);
    EXPECT_EQ(form.outcomes.back().safetyFactor, form.method->designPointFactor);
    // The design point lies on F = 1, along the direction cosines.
    const auto& point = form.method->designPoint;
    ASSERT_EQ(point.size(), 2U);
    EXPECT_NEAR(0.2 + 0.03 * point[0].value + 0.02 * point[1].value, 1.0, 1e-3);
    EXPECT_NEAR(point[0].alpha * point[0].alpha + point[1].alpha * point[1].alpha, 1, 1e-12);
    EXPECT_GT(point[0].alpha, 0);
}

// An independent FORM of g = base + sum(a sin(phi) + b c) - 1 with exact derivatives, normal
// strengths.
struct Term {
    double a, b, phiMean, phiSd, cMean, cSd;
};

double ExactFormBeta(const std::vector<Term>& terms, std::vector<double>& design,
                     double base = 0.4) {
    std::vector<double> u(2 * terms.size(), 0.0);
    double beta = 0;
    for (int iteration = 0; iteration < 100; ++iteration) {
        double g = base - 1;
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
    EXPECT_EQ(form.method->runs, (form.method->iterations - 1) * 5 + 1);
    EXPECT_EQ(log_[log_.size() - 3].rfind("FORM iteration", 0), 0U);
}

// Three sets whose plain HL-RF step from the mean asks for a cohesion of -0.42 in set 1, while
// the design point lies at 2.57: the shortened steps reach it, with the same log and result
// however many runs go at once.
TEST_F(ReliabilityMethods, FormReachesADesignPointThatAPlainStepOvershoots) {
    const std::vector<Term> terms{{0.835, 0.0209, 25, 4, 10, 4},
                                  {1.149, 0.0415, 50, 10, 8, 2},
                                  {0.637, 0.0137, 50, 10, 8, 4}};
    project_.WriteModel("base 0.0218\nterm 1 3 0.835 0.5\nterm 1 4 0.0209 10\n"
                        "term 2 3 1.149 0.5\nterm 2 4 0.0415 8\nterm 3 3 0.637 0.5\n"
                        "term 3 4 0.0137 8\n");
    for (int row = 1; row <= 3; ++row) {
        const Term& t = terms[row - 1];
        Row(State, row) = {row, t.phiMean, t.phiSd, t.cMean, t.cSd};
    }
    std::vector<double> design;
    const double exact = ExactFormBeta(terms, design, 0.0218);

    const AnalysisRecord one = Analyse(Method::Form, 1);
    const std::vector<std::string> firstLog = log_;
    ASSERT_TRUE(one.method && one.method->beta);
    EXPECT_TRUE(one.method->converged);
    EXPECT_NEAR(*one.method->beta, exact, 0.01 * exact);
    // Within 1 % of beta in standard normal space, each variable along its own sigma.
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_NEAR(one.method->designPoint[k].value, design[2 * k], 0.01 * exact * terms[k].phiSd)
            << "friction angle " << k;
        EXPECT_NEAR(one.method->designPoint[3 + k].value, design[2 * k + 1],
                    0.01 * exact * terms[k].cSd)
            << "cohesion " << k;
    }
    // Rejected trials are not the method's runs.
    EXPECT_EQ(one.method->runs, (one.method->iterations - 1) * 7 + 1);
    EXPECT_NE(firstLog[firstLog.size() - std::size_t(one.method->iterations) - 2].find(", step 0."),
              std::string::npos);

    const AnalysisRecord four = Analyse(Method::Form, 4);
    EXPECT_EQ(log_, firstLog);
    EXPECT_EQ(*four.method->beta, *one.method->beta);
    EXPECT_EQ(four.method->runs, one.method->runs);
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
            EXPECT_EQ(message.rfind("FORM: ", 0), 0U) << message;
            EXPECT_NE(message.find("needs the friction angle of row 1"), std::string::npos)
                << message;
            EXPECT_EQ(message.find("lognormal") != std::string::npos,
                      strengths == StrengthDistribution::Normal)
                << message;
        }
    }
}

// The end message says whether the iteration found no step the calculator takes or the design
// point itself lies outside; it suggests lognormal strengths only while normal ones are in use.
TEST_F(ReliabilityMethods, FormEndsOnlyWhereNoAdmissibleStepOrDesignPointExists) {
    struct Case {
        std::string base;
        double cohesionMean;
        std::string start;
    };
    // With base 1.02 F = 1 needs a cohesion of -2: from a mean of 0, and from the point 0 that
    // the first step reaches from 2, every step leaves the bound. With base 1.003 the iteration
    // settles at a cohesion near 0 whose design point lies at -0.3.
    const std::vector<Case> cases{
        {"1.02", 0,
         "FORM: no admissible step from iteration 1: even a step of 0.00390625 towards the "
         "design point needs the cohesion of row 1 (set 1) of -0.0078, below 0"},
        {"1.02", 2,
         "FORM: no admissible step from iteration 2: even a step of 0.00390625 towards the "
         "design point needs the cohesion of row 1 (set 1) of -0.0078, below 0"},
        {"1.003", 2,
         "FORM: the design point needs the cohesion of row 1 (set 1) of -0.3000, below 0"}};
    for (const Case& c : cases) {
        project_.WriteModel("base " + c.base + "\nterm 1 4 0.01 2\n");
        Row(State, 1) = {1, 30, 0, c.cohesionMean, 3};
        try {
            Analyse(Method::Form);
            ADD_FAILURE() << "a negative cohesion was written";
        } catch (const Error& error) {
            const std::string message = error.what();
            EXPECT_EQ(message.rfind(c.start, 0), 0U) << message;
            EXPECT_NE(message.find("lognormal strengths keep"), std::string::npos) << message;
        }
    }
}

// Correlated normal cohesions on F = 0.2 + 0.03 c1 + 0.02 c2: β = (F_mean - 1) / σ_F with
// σ_F² = s1² + s2² + 2ρ s1 s2, for first order's correlated β, Taylor and FORM alike.
TEST_F(ReliabilityMethods, CorrelatedNormalCohesionsOnALinearResponseGiveTheClosedForm) {
    project_.WriteModel("base 0.2\nterm 1 4 0.03 20\nterm 2 4 0.02 15\n");
    Row(State, 1) = {1, 30, 0, 20, 4};
    Row(State, 2) = {2, 25, 0, 15, 5};
    for (const double rho : {0.6, -0.4}) {
        correlations_ = {{11, 12, rho}};
        const double s1 = 0.03 * 4;
        const double s2 = 0.02 * 5;
        const double beta = 0.1 / std::sqrt(s1 * s1 + s2 * s2 + 2 * rho * s1 * s2);

        const AnalysisRecord taylor = Analyse(Method::Taylor);
        EXPECT_NEAR(*taylor.method->beta, beta, 1e-9) << rho;
        const auto firstOrder = FirstOrderCorrelated(DeriveResults(State), taylor.correlations);
        ASSERT_TRUE(firstOrder);
        EXPECT_NEAR(firstOrder->beta, beta, 1e-9) << rho;
        // The first-order β stays independent.
        EXPECT_NEAR(State.Beta, 0.1 / std::hypot(s1, s2), 1e-9);

        const AnalysisRecord form = Analyse(Method::Form);
        ASSERT_TRUE(form.method->converged);
        EXPECT_NEAR(*form.method->beta, beta, 1e-3) << rho;
        const auto& point = form.method->designPoint;
        EXPECT_NEAR(0.2 + 0.03 * point[0].value + 0.02 * point[1].value, 1.0, 1e-3) << rho;
        EXPECT_NEAR(point[0].alpha * point[0].alpha + point[1].alpha * point[1].alpha, 1, 1e-12);
    }
}

// An independent FORM in the strengths' own correlated normals z, sets of (phi, c) with
// lognormal strengths correlated within each set by the Nataf rule: the design point minimises
// zᵀR⁻¹z on g = 0, iterated (damped, as the plain step oscillates here) towards
// z = R∇g (∇g·z - g) / (∇gᵀR∇g) with exact derivatives.
struct CorrelatedSet {
    Term term;
    double rho;

    double RhoNormal() const {
        const double vPhi = term.phiSd / term.phiMean;
        const double vC = term.cSd / term.cMean;
        return std::log(1 + rho * vPhi * vC) /
               std::sqrt(std::log(1 + vPhi * vPhi) * std::log(1 + vC * vC));
    }
};

double Zeta(double mean, double sd) {
    return std::sqrt(std::log1p(sd * sd / (mean * mean)));
}

double Lognormal(double mean, double sd, double z) {
    const double zeta = Zeta(mean, sd);
    return std::exp(std::log(mean) - zeta * zeta / 2 + zeta * z);
}

double NormalOf(double mean, double sd, double x) {
    const double zeta = Zeta(mean, sd);
    return (std::log(x / mean) + zeta * zeta / 2) / zeta;
}

// √(zᵀR⁻¹z) with R of 2 × 2 blocks, z ordered phi 1, c 1, phi 2, c 2, ...
double Distance(const std::vector<CorrelatedSet>& sets, const std::vector<double>& z) {
    double squares = 0;
    for (std::size_t k = 0; k < sets.size(); ++k) {
        const double r = sets[k].RhoNormal();
        const double a = z[2 * k];
        const double b = z[2 * k + 1];
        squares += (a * a - 2 * r * a * b + b * b) / (1 - r * r);
    }
    return std::sqrt(squares);
}

double ExactNatafFormBeta(const std::vector<CorrelatedSet>& sets, double base) {
    std::vector<double> z(2 * sets.size(), 0.0);
    for (int iteration = 0; iteration < 300; ++iteration) {
        double g = base - 1;
        std::vector<double> gradient;
        for (std::size_t k = 0; k < sets.size(); ++k) {
            const Term& t = sets[k].term;
            const double phi = Lognormal(t.phiMean, t.phiSd, z[2 * k]);
            const double c = Lognormal(t.cMean, t.cSd, z[2 * k + 1]);
            g += t.a * Sine(phi) + t.b * c;
            gradient.push_back(t.a * std::cos(phi * std::numbers::pi / 180) * std::numbers::pi /
                               180 * Zeta(t.phiMean, t.phiSd) * phi);
            gradient.push_back(t.b * Zeta(t.cMean, t.cSd) * c);
        }
        std::vector<double> pulled; // R∇g
        for (std::size_t k = 0; k < sets.size(); ++k) {
            const double r = sets[k].RhoNormal();
            pulled.push_back(gradient[2 * k] + r * gradient[2 * k + 1]);
            pulled.push_back(r * gradient[2 * k] + gradient[2 * k + 1]);
        }
        double along = 0;
        double spread = 0;
        for (std::size_t k = 0; k < z.size(); ++k) {
            along += gradient[k] * z[k];
            spread += gradient[k] * pulled[k];
        }
        for (std::size_t k = 0; k < z.size(); ++k) {
            z[k] = 0.7 * z[k] + 0.3 * pulled[k] * (along - g) / spread;
        }
    }
    return Distance(sets, z);
}

// The limit state is flat about its design point here, so the check is β and where FORM's
// design point lies: on g = 0, at its own β by the test's measure of distance.
TEST_F(ReliabilityMethods, CorrelatedLognormalStrengthsAgreeWithAnIndependentNatafForm) {
    const std::vector<CorrelatedSet> sets{{{0.8, 0.02, 35, 8, 12, 3}, -0.5},
                                          {{0.5, 0.01, 28, 6, 8, 2}, -0.3}};
    project_.WriteModel("base 0.4\nterm 1 3 0.8 0.5\nterm 1 4 0.02 12\nterm 2 3 0.5 0.5\n"
                        "term 2 4 0.01 8\n");
    Row(State, 1) = {1, 35, 8, 12, 3};
    Row(State, 2) = {2, 28, 6, 8, 2};
    correlations_ = {{1, 11, -0.5}, {12, 2, -0.3}};
    const double exact = ExactNatafFormBeta(sets, 0.4);

    const AnalysisRecord form = Analyse(Method::Form, 1, StrengthDistribution::Lognormal);
    ASSERT_TRUE(form.method && form.method->beta);
    EXPECT_TRUE(form.method->converged);
    const double beta = *form.method->beta;
    EXPECT_NEAR(beta, exact, 0.01 * exact);
    // Variables in list order: phi 1, phi 2, c 1, c 2.
    std::vector<double> z;
    double g = 0.4 - 1;
    for (std::size_t k = 0; k < sets.size(); ++k) {
        const Term& t = sets[k].term;
        const double phi = form.method->designPoint[k].value;
        const double c = form.method->designPoint[2 + k].value;
        z.push_back(NormalOf(t.phiMean, t.phiSd, phi));
        z.push_back(NormalOf(t.cMean, t.cSd, c));
        g += t.a * Sine(phi) + t.b * c;
    }
    EXPECT_NEAR(Distance(sets, z), beta, 0.001 * beta);
    EXPECT_NEAR(g, 0, 0.005);
    ASSERT_EQ(form.correlations.size(), 2U);
    EXPECT_NEAR(form.correlations[0].rhoNormal, sets[0].RhoNormal(), 1e-12);
    EXPECT_NEAR(form.correlations[1].rhoNormal, sets[1].RhoNormal(), 1e-12);
}

} // namespace
} // namespace zelmora
