#include "project/number_forms.h"

#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

namespace zelmora {
namespace {

constexpr double Infinity = std::numeric_limits<double>::infinity();

// 2^120 is the least magnitude written in the scientific form by FormatFixed.
const double ScientificThreshold = std::ldexp(1.0, 120);
const double BelowScientificThreshold = std::nextafter(ScientificThreshold, 0.0);

struct FixedCase {
    double value;
    int width;
    int decimals;
    std::string expected;
};

void ExpectFixed(const std::vector<FixedCase>& cases) {
    for (const FixedCase& c : cases) {
        EXPECT_EQ(FormatFixed(c.value, c.width, c.decimals), c.expected)
            << "value " << c.value << ", width " << c.width << ", decimals " << c.decimals;
    }
}

TEST(FormatFixed, FieldAndLogForm) {
    ExpectFixed({
        {1.0, 8, 4, "  1.0000"},
        {30, 8, 4, " 30.0000"},
        {-2.5, 8, 4, " -2.5000"},
        {0.12345, 8, 4, "  0.1235"},
        {0.00015, 8, 4, "  0.0002"},
        {-0.00004, 8, 4, " -0.0000"},
        {-0.0, 8, 4, " -0.0000"},
        {0.0, 8, 4, "  0.0000"},
        {9.99995, 8, 4, " 10.0000"},
        {123456.789, 8, 4, "123456.7890"},
        {1.4e36, 8, 4, " 1.4E+0036"},
        {1.3e36, 8, 4, "1300000000000000070000000000000000000.0000"},
    });
}

TEST(FormatFixed, ProjectFileForm) {
    ExpectFixed({
        {0.5, 10, 6, "  0.500000"},
        {1.0 / 3.0, 10, 6, "  0.333333"},
        {1234.5678, 10, 6, "1234.567800"},
    });
}

TEST(FormatFixed, CarriesThroughNines) {
    ExpectFixed({
        {9.99995, 8, 4, " 10.0000"},
        {-9.99995, 8, 4, "-10.0000"},
        {999.99995, 8, 4, "1000.0000"},
        {0.99999, 8, 4, "  1.0000"},
        {0.99994, 8, 4, "  0.9999"},
        {15.99999999, 8, 4, " 16.0000"},
        {99.5, 0, 0, "100"},
        {0.99994, 0, 0, "1"},
    });
}

TEST(FormatFixed, RoundsHalfAwayFromZero) {
    ExpectFixed({
        {0.5, 0, 0, "1"},
        {1.5, 0, 0, "2"},
        {2.5, 0, 0, "3"},
        {-2.5, 0, 0, "-3"},
        {0.4, 0, 0, "0"},
        {-0.4, 0, 0, "-0"},
        {0.125, 0, 2, "0.13"},
        {12345.678, 0, 0, "12346"},
    });
}

TEST(FormatFixed, ShowsAtMostSeventeenDecimalsBelowTen) {
    ExpectFixed({
        {0.1, 0, 20, "0.10000000000000001000"},
        {1.0 + 0x1p-18, 0, 17, "1.00000381469726562"},
        {9.9995, 0, 20, "9.99949999999999939000"},
        {999.99995, 0, 20, "999.99995000000001200000"},
        {5e-324, 8, 4, "  0.0000"},
    });
}

TEST(FormatFixed, SwitchesToScientificFromTwoToThe120) {
    ExpectFixed({
        {ScientificThreshold, 8, 4, " 1.3E+0036"},
        {-ScientificThreshold, 12, 4, "-1.329E+0036"},
        {BelowScientificThreshold, 8, 4, "1329227995784915725000000000000000000.0000"},
        {1e308, 8, 4, " 1.0E+0308"},
        {std::numeric_limits<double>::max(), 12, 4, " 1.798E+0308"},
    });
}

TEST(FormatFixed, NonFiniteValues) {
    ExpectFixed({
        {std::nan(""), 8, 4, "     Nan"},
        {Infinity, 8, 4, "    +Inf"},
        {-Infinity, 8, 4, "    -Inf"},
        {-Infinity, 0, 4, "-Inf"},
        {std::nan(""), 2, 4, "Nan"},
    });
}

TEST(FormatFixed, CapsWidthAndDecimals) {
    EXPECT_EQ(FormatFixed(1.0, 300, 4), std::string(249, ' ') + "1.0000");
    EXPECT_EQ(FormatFixed(1.0, 255, 4), FormatFixed(1.0, 300, 4));
    EXPECT_EQ(FormatFixed(Infinity, 1000, 4), std::string(251, ' ') + "+Inf");
    EXPECT_EQ(FormatFixed(0.25, 0, 300), "0.25" + std::string(214, '0'));
    EXPECT_EQ(FormatFixed(0.25, 0, 217), FormatFixed(0.25, 0, 216));

    // The longest text there is: sign, 37 integer digits, point and 216 decimals.
    const std::string longest = FormatFixed(-BelowScientificThreshold, 0, 1000);
    EXPECT_EQ(longest.size(), 255u);
    EXPECT_EQ(longest, "-1329227995784915725" + std::string(18, '0') + "." + std::string(216, '0'));
}

struct ScientificCase {
    double value;
    int width;
    std::string expected;
};

TEST(FormatScientific, ProbabilityForm) {
    const std::vector<ScientificCase> cases = {
        {3.17e-5, 12, " 3.170E-0005"},    {0.0123456, 12, " 1.235E-0002"},
        {0.00099996, 12, " 1.000E-0003"}, {0.0, 12, " 0.000E+0000"},
        {-0.5, 12, "-5.000E-0001"},       {0.0013499, 12, " 1.350E-0003"},
        {0.4998612, 12, " 4.999E-0001"},  {-0.0, 12, "-0.000E+0000"},
        {9.99995, 12, " 1.000E+0001"},    {9.9995, 12, " 9.999E+0000"},
        {1.0, 12, " 1.000E+0000"},        {12.0, 12, " 1.200E+0001"},
        {5e-324, 12, " 4.941E-0324"},     {std::numeric_limits<double>::max(), 12, " 1.798E+0308"},
    };
    for (const ScientificCase& c : cases) {
        EXPECT_EQ(FormatScientific(c.value, c.width), c.expected) << c.value;
    }
}

TEST(FormatScientific, WidthSetsTheSignificantDigits) {
    const std::vector<ScientificCase> cases = {
        {0.5, 0, " 5.0E-0001"},
        {0.5, 9, " 5.0E-0001"},
        {0.5, 11, " 5.00E-0001"},
        {99.5, 10, " 1.0E+0002"},
        {9.99995, 26, " 9.99995000000000012E+0000"},
        {9.99995, 30, "     9.99995000000000012E+0000"},
        {std::nan(""), 12, "         Nan"},
        {-Infinity, 12, "        -Inf"},
    };
    for (const ScientificCase& c : cases) {
        EXPECT_EQ(FormatScientific(c.value, c.width), c.expected)
            << c.value << ", width " << c.width;
    }
    EXPECT_EQ(FormatScientific(1.5, 300), std::string(229, ' ') + " 1.50000000000000000E+0000");
}

TEST(FormatInteger, DigitsSignAndPadding) {
    struct Case {
        std::int32_t value;
        int width;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {7, 0, "7"},
        {-12, 0, "-12"},
        {0, 0, "0"},
        {-12, 5, "  -12"},
        {-12, 2, "-12"},
        {std::numeric_limits<std::int32_t>::max(), 0, "2147483647"},
        {std::numeric_limits<std::int32_t>::min(), 0, "-2147483648"},
        {1, -4, "1"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatInteger(c.value, c.width), c.expected) << c.value << ", width " << c.width;
    }
    EXPECT_EQ(FormatInteger(42, 1000), std::string(253, ' ') + "42");
}

} // namespace
} // namespace zelmora
