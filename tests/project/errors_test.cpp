#include "project/errors.h"

#include <cfloat>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace zelmora;

namespace {

TEST(IoErrorMessage, FollowsTheCodeTable) {
    const struct {
        int code;
        const char* message;
    } cases[] = {
        {2, "File not found"},
        {3, "Invalid filename"},
        {4, "Too many open files"},
        {5, "File access denied"},
        {100, "Read beyond end of file"},
        {101, "Disk full"},
        {106, "Invalid numeric input"},
        {103, "I/O error 103"},
        {105, "I/O error 105"},
        {1005, "I/O error 1005"},
        {1, "I/O error 1"},
        {-7, "I/O error -7"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IoErrorMessage(c.code), c.message) << c.code;
        const EInOutError error(c.code);
        EXPECT_EQ(error.code, c.code);
        EXPECT_STREQ(error.what(), c.message);
    }
}

TEST(Errors, FloatingPointErrorsShareTheBaseAndCarryTheirMessages) {
    const auto message = [](const Error& error) { return std::string(error.what()); };
    EXPECT_EQ(message(EZeroDivide()), "Floating point division by zero");
    EXPECT_EQ(message(EInvalidOp()), "Invalid floating point operation");
    EXPECT_EQ(message(EOverflow()), "Floating point overflow");
    EXPECT_EQ(message(EInOutError(2)), "File not found");
}

TEST(NarrowToDouble, ThrowsWhenTheValueIsBeyondTheRange) {
    const long double max = DBL_MAX;
    const long double halfUlp = std::ldexp(1.0L, 1023 - 53);
    EXPECT_THROW(NarrowToDouble(1e400L), EOverflow);
    EXPECT_THROW(NarrowToDouble(-1e400L), EOverflow);
    EXPECT_THROW(NarrowToDouble(max + halfUlp), EOverflow);
    EXPECT_EQ(NarrowToDouble(max + halfUlp / 2), DBL_MAX);
    EXPECT_EQ(NarrowToDouble(-max), -DBL_MAX);
    EXPECT_EQ(NarrowToDouble(0.1L), 0.1);
    EXPECT_THROW(NarrowToDouble(std::numeric_limits<long double>::infinity()), EOverflow);
    EXPECT_THROW(NarrowToDouble(-std::numeric_limits<long double>::infinity()), EOverflow);
    EXPECT_TRUE(std::isnan(NarrowToDouble(std::numeric_limits<long double>::quiet_NaN())));
}

TEST(NarrowToDouble, BelowTheRangeBecomesZeroOrSubnormalSilently) {
    EXPECT_EQ(NarrowToDouble(1e-400L), 0.0);
    EXPECT_TRUE(std::signbit(NarrowToDouble(-1e-400L)));
    const double subnormal = NarrowToDouble(1e-310L);
    EXPECT_EQ(std::fpclassify(subnormal), FP_SUBNORMAL);
    EXPECT_NEAR(subnormal, 1e-310, 1e-320);
}

TEST(CheckedDivide, RaisesTheSystemsErrors) {
    const long double inf = std::numeric_limits<long double>::infinity();
    const long double nan = std::numeric_limits<long double>::quiet_NaN();
    EXPECT_THROW(CheckedDivide(1, 0), EZeroDivide);
    EXPECT_THROW(CheckedDivide(-1, 0), EZeroDivide);
    EXPECT_THROW(CheckedDivide(1, -0.0L), EZeroDivide);
    EXPECT_THROW(CheckedDivide(0, 0), EInvalidOp);
    EXPECT_THROW(CheckedDivide(-0.0L, 0), EInvalidOp);
    EXPECT_THROW(CheckedDivide(nan, 1), EInvalidOp);
    EXPECT_THROW(CheckedDivide(1, nan), EInvalidOp);
    EXPECT_THROW(CheckedDivide(inf, inf), EInvalidOp);
    EXPECT_THROW(CheckedDivide(1e4000L, 1e-4000L), EOverflow);
}

TEST(CheckedDivide, QuotientIsExtended) {
    const long double inf = std::numeric_limits<long double>::infinity();
    EXPECT_EQ(CheckedDivide(1, 3), 1.0L / 3.0L);
    EXPECT_NE(CheckedDivide(1, 3), static_cast<long double>(1.0 / 3.0));
    EXPECT_EQ(CheckedDivide(-6, 4), -1.5L);
    EXPECT_EQ(CheckedDivide(1e-4000L, 1e4000L), 0.0L);
    EXPECT_EQ(CheckedDivide(inf, 2), inf);
}

} // namespace
