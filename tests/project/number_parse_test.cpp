#include "project/number_forms.h"

#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace zelmora {
namespace {

constexpr long double Infinity = std::numeric_limits<long double>::infinity();

struct RealCase {
    std::string text;
    long double value;
    int errorPosition;
};

void ExpectReals(const std::vector<RealCase>& cases) {
    for (const RealCase& c : cases) {
        const ParsedReal parsed = ParseReal(c.text);
        EXPECT_EQ(parsed.value, c.value) << '"' << c.text << '"';
        EXPECT_EQ(std::signbit(parsed.value), std::signbit(c.value)) << '"' << c.text << '"';
        EXPECT_EQ(parsed.errorPosition, c.errorPosition) << '"' << c.text << '"';
    }
}

TEST(ParseReal, ValidTexts) {
    ExpectReals({
        {"  1.5", 1.5L, 0},
        {"-.25E+1", -2.5L, 0},
        {"5.", 5.0L, 0},
        {"E5", 0.0L, 0},
        {".", 0.0L, 0},
        {"-0", -0.0L, 0},
        {"+7", 7.0L, 0},
        {"0.1", 0.1L, 0},
        {"123e-2", 1.23L, 0},
        {"3.14159", 3.14159L, 0},
        {"1e30", 1e30L, 0},
        {"5.e2", 500.0L, 0},
    });
}

TEST(ParseReal, InvalidTextsKeepTheDigitsRead) {
    ExpectReals({
        {"1,5", 1.0L, 2},  {"1.5 ", 15.0L, 4}, {"12.34x", 1234.0L, 6}, {"-2x", 2.0L, 3},
        {"abc", 0.0L, 1},  {"", 0.0L, 1},      {"1e", 1.0L, 3},        {"1e+", 1.0L, 4},
        {"-e", 0.0L, 3},   {"1e-x", 1.0L, 4},  {"1e2.5", 1.0L, 4},     {"1.2.3", 12.0L, 4},
        {"--1", 0.0L, 2},  {"+", 0.0L, 2},     {"-", 0.0L, 2},         {"   ", 0.0L, 4},
        {"1\t5", 1.0L, 2}, {"\t5", 0.0L, 1},   {" 1 ", 1.0L, 3},
    });
}

TEST(ParseReal, NegativeZeroIsFormattedWithItsSign) {
    const ParsedReal parsed = ParseReal("-0");
    EXPECT_EQ(FormatFixed(static_cast<double>(parsed.value), 8, 4), " -0.0000");
}

TEST(ParseReal, ExponentLimits) {
    ExpectReals({
        {"1e5000", Infinity, 0},
        {"-1e5000", -Infinity, 0},
        {"1e5120", Infinity, 0},
        {"1e99999999999", Infinity, 0},
        {"1e+999999999999999999999999", Infinity, 0},
        {"1e-5000", 0.0L, 0},
        {"1e-5120", 0.0L, 0},
        {"-1e-99999999999", -0.0L, 0},
        {"0e99999999999", 0.0L, 0},
        {"-0e99999999999", -0.0L, 0},
        {"0.000e5000", 0.0L, 0},
    });

    const long double large = ParseReal("1e4931").value;
    EXPECT_TRUE(std::isfinite(large));
    EXPECT_GT(large, std::numeric_limits<double>::max());
    EXPECT_NEAR(large / 1e4931L, 1.0L, 1e-18L);
    EXPECT_GT(ParseReal("1e-4950").value, 0.0L);
}

// Each entry of the power table, reached through "1e<j>", against the library power.
TEST(ParseReal, ScalesByEveryTablePower) {
    std::vector<int> exponents;
    for (int j = 0; j < 32; ++j) {
        exponents.push_back(j);
    }
    for (int k = 1; k < 16; ++k) {
        exponents.push_back(32 * k);
    }
    for (int k = 1; k < 10; ++k) {
        exponents.push_back(512 * k);
    }
    for (int j : exponents) {
        const long double expected = std::pow(10.0L, static_cast<long double>(j));
        const long double up = ParseReal("1e" + std::to_string(j)).value;
        const long double down = ParseReal("1e-" + std::to_string(j)).value;
        EXPECT_NEAR(up / expected, 1.0L, 4e-19L) << j;
        EXPECT_NEAR(down * expected, 1.0L, 4e-19L) << j;
    }
}

TEST(ParseReal, KeepsTheWholeFractionCount) {
    const std::string zeros(5000, '0');
    ExpectReals({
        {"0." + zeros + "1e5001", 1.0L, 0},
        {zeros + "2.5", 2.5L, 0},
        {"0." + zeros + "1", 0.0L, 0},
    });
}

TEST(ParseReal, SubnormalDoubles) {
    struct Case {
        std::string text;
        double expected;
    };
    const std::vector<Case> cases = {
        {"4.9406564584124654e-324", std::numeric_limits<double>::denorm_min()},
        {"2.2250738585072014e-308", std::numeric_limits<double>::min()},
        {"1e-320", 1e-320},
        {"1e-400", 0.0},
    };
    for (const Case& c : cases) {
        const ParsedReal parsed = ParseReal(c.text);
        EXPECT_EQ(parsed.errorPosition, 0) << c.text;
        EXPECT_EQ(static_cast<double>(parsed.value), c.expected) << c.text;
    }
    EXPECT_GT(ParseReal("1e-400").value, 0.0L);
}

// A random double with a uniformly drawn binary exponent in [low, high] and random sign.
class RandomDoubles {
public:
    RandomDoubles(int low, int high) : exponent_(low, high) {}

    double Next() {
        const double mantissa = 1.0 + std::ldexp(static_cast<double>(engine_() >> 12), -52);
        const double magnitude = std::ldexp(mantissa, exponent_(engine_));
        return (engine_() & 1) != 0 ? -magnitude : magnitude;
    }

private:
    std::mt19937_64 engine_{20261208};
    std::uniform_int_distribution<int> exponent_;
};

// From 0.1 up, 17 decimals carry at least 17 significant digits of a value that is rounded
// once, so the text reads back to the same double.
TEST(ParseReal, ReadsBackFixedTextWithSeventeenDecimals) {
    RandomDoubles random(-4, 119);
    int checked = 0;
    while (checked < 3000) {
        const double value = random.Next();
        if (std::fabs(value) < 0.1) {
            continue;
        }
        const std::string text = FormatFixed(value, 0, 17);
        const ParsedReal parsed = ParseReal(text);
        ASSERT_EQ(parsed.errorPosition, 0) << text;
        ASSERT_EQ(static_cast<double>(parsed.value), value) << text;
        ++checked;
    }
}

// Below 0.1 fewer significant digits are shown; the text still lies within half a unit of the
// 17th decimal (plus the rounding of v × 10^17).
TEST(ParseReal, FixedTextBelowOneTenthIsWithinHalfTheLastDecimal) {
    RandomDoubles random(-1074, -4);
    for (int i = 0; i < 2000; ++i) {
        const double value = random.Next();
        if (std::fabs(value) >= 0.1) {
            continue;
        }
        const std::string text = FormatFixed(value, 0, 17);
        const ParsedReal parsed = ParseReal(text);
        ASSERT_EQ(parsed.errorPosition, 0) << text;
        ASSERT_LE(std::fabs(parsed.value - static_cast<long double>(value)), 0.501e-17L) << text;
    }
}

struct IntegerCase {
    std::string text;
    std::int32_t value;
    int errorPosition;
};

void ExpectIntegers(const std::vector<IntegerCase>& cases) {
    for (const IntegerCase& c : cases) {
        const ParsedInteger parsed = ParseInteger(c.text);
        EXPECT_EQ(parsed.value, c.value) << '"' << c.text << '"';
        EXPECT_EQ(parsed.errorPosition, c.errorPosition) << '"' << c.text << '"';
    }
}

TEST(ParseInteger, DecimalForms) {
    ExpectIntegers({
        {" -7", -7, 0},
        {"+5", 5, 0},
        {"0", 0, 0},
        {"-0", 0, 0},
        {"0012", 12, 0},
        {"12a", 12, 3},
        {"-5x", 5, 3},
        {"1.5", 1, 2},
        {"12 ", 12, 3},
        {"1\t2", 1, 2},
        {"\t1", 0, 1},
        {"", 0, 1},
        {"  ", 0, 3},
        {"-", 0, 2},
        {"+-1", 0, 2},
        {"00x1", 0, 3},
    });
}

TEST(ParseInteger, ThirtyTwoBitLimits) {
    ExpectIntegers({
        {"-2147483648", -2147483647 - 1, 0},
        {"2147483647", 2147483647, 0},
        {"2147483648", -2147483647 - 1, 11},
        {"+2147483648", -2147483647 - 1, 12},
        {"-2147483649", -2147483647, 12},
        {"99999999999", 999999999, 10},
        {"2147483650", 214748365, 10},
        {"-21474836480", -2147483647 - 1, 12},
        {"4294967295", 429496729, 10},
        {"2147483649", -2147483647, 11},
    });
}

TEST(ParseInteger, HexadecimalForms) {
    ExpectIntegers({
        {"$1F", 31, 0},
        {"0x10", 16, 0},
        {"x1f", 31, 0},
        {"X1F", 31, 0},
        {"0X1f", 31, 0},
        {" $a", 10, 0},
        {"$FFFFFFFF", -1, 0},
        {"$7FFFFFFF", 2147483647, 0},
        {"$80000000", -2147483647 - 1, 0},
        {"$0FFFFFFFF", -1, 0},
        {"$100000000", 268435456, 10},
        {"$1FFFFFFFF", 536870911, 10},
        {"0x1G", 1, 4},
        {"$", 0, 2},
        {"x", 0, 2},
        {"0x", 0, 3},
        {"$g", 0, 2},
        {"-$1", 0, 2},
        {"+$1", 0, 2},
        {"-0x1", 0, 3},
    });
}

} // namespace
} // namespace zelmora
