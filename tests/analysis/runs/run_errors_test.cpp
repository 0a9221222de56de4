// A run's outcome judged: a read safety factor counts only when it is a finite number above 0.
#include "analysis/runs/run_errors.h"
#include "project/errors.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace zelmora {
namespace {

RunOutcome ReadOutcome(double factor) {
    RunOutcome outcome;
    outcome.started = true;
    outcome.exitStatus = 0;
    outcome.resultRewritten = true;
    outcome.safetyFactor = factor;
    return outcome;
}

TEST(RunErrors, AFactorThatIsNotAFiniteNumberAboveZeroFailsTheRun) {
    AnalysisInputs inputs;
    inputs.resultFilePath = "/m/slope.dta/slope.hxx";
    const struct {
        double factor;
        const char* shown;
    } cases[] = {{0.0, "0.0000"},
                 {-0.0, "0.0000"},
                 {-2.5, "\u22122.5000"},
                 {std::numeric_limits<double>::infinity(), "+Inf"},
                 {-std::numeric_limits<double>::infinity(), "\u2212Inf"},
                 {std::numeric_limits<double>::quiet_NaN(), "Nan"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.factor);
        const RunOutcome outcome = ReadOutcome(c.factor);
        EXPECT_TRUE(RunFailed(outcome));
        EXPECT_FALSE(NonZeroExitAccepted(outcome));
        try {
            CheckedSafetyFactor(outcome, inputs);
            ADD_FAILURE() << "taken as a result";
        } catch (const Error& error) {
            EXPECT_EQ(std::string(error.what()),
                      "The safety factor read is " + std::string(c.shown) +
                          ", not a positive number: " + inputs.resultFilePath);
        }
    }
    // The least positive double is still a factor.
    const double least = std::numeric_limits<double>::denorm_min();
    EXPECT_FALSE(RunFailed(ReadOutcome(least)));
    EXPECT_EQ(CheckedSafetyFactor(ReadOutcome(least), inputs), least);
}

} // namespace
} // namespace zelmora
