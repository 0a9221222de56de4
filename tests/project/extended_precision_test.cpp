#include "project/extended_precision.h"
#include "project/number_forms.h"

#include <gtest/gtest.h>

namespace zelmora {
namespace {

constexpr std::uint16_t PrecisionBits = 0x0300;
constexpr std::uint16_t RoundingBits = 0x0C00;
constexpr std::uint16_t DoublePrecision = 0x0200;
constexpr std::uint16_t RoundTowardZero = 0x0C00;

// Puts the control word back as the test found it.
class ExtendedPrecisionTest : public ::testing::Test {
protected:
    void TearDown() override { SetX87ControlWord(saved_); }

    // The word as a host that changed it would leave it: other precision or rounding, the
    // exception masks as they were.
    static void Disturb(std::uint16_t precision, std::uint16_t rounding) {
        const auto word = static_cast<std::uint16_t>(
            (X87ControlWord() & ~(PrecisionBits | RoundingBits)) | precision | rounding);
        SetX87ControlWord(word);
    }

    const std::uint16_t saved_ = X87ControlWord();
};

TEST_F(ExtendedPrecisionTest, StartsAt64BitsRoundingToNearest) {
    EXPECT_EQ(X87ControlWord() & (PrecisionBits | RoundingBits), PrecisionBits);
    EXPECT_FALSE(EnsureExtendedPrecision());
}

TEST_F(ExtendedPrecisionTest, SetsPrecisionAndRoundingKeepingTheMasks) {
    const std::uint16_t masks = X87ControlWord() & 0x003F;
    const struct {
        std::uint16_t precision;
        std::uint16_t rounding;
    } disturbances[] = {{DoublePrecision, 0},
                        {0, 0},
                        {PrecisionBits, RoundTowardZero},
                        {DoublePrecision, RoundTowardZero}};
    for (const auto& d : disturbances) {
        Disturb(d.precision, d.rounding);
        EXPECT_TRUE(EnsureExtendedPrecision());
        EXPECT_EQ(X87ControlWord() & (PrecisionBits | RoundingBits), PrecisionBits);
        EXPECT_EQ(X87ControlWord() & 0x003F, masks);
        EXPECT_FALSE(EnsureExtendedPrecision());
    }
}

// 1 + 1e-19 lies above the midpoint between 1 and the next extended value, 1 + 2^-63; at 53
// bits the accumulated digits would round to exactly 1.
TEST_F(ExtendedPrecisionTest, ParsingSetsExtendedPrecisionFirst) {
    Disturb(DoublePrecision, 0);
    const ParsedReal parsed = ParseReal("1.0000000000000000001");
    EXPECT_EQ(parsed.errorPosition, 0);
    EXPECT_EQ(parsed.value, 1.0L + 0x1p-63L);
    EXPECT_EQ(X87ControlWord() & PrecisionBits, PrecisionBits);
}

TEST_F(ExtendedPrecisionTest, FormattingSetsExtendedPrecisionFirst) {
    Disturb(DoublePrecision, RoundTowardZero);
    EXPECT_EQ(FormatFixed(0.1, 0, 20), "0.10000000000000001000");
    Disturb(DoublePrecision, RoundTowardZero);
    EXPECT_EQ(FormatScientific(2.0 / 3.0, 26), " 6.66666666666666630E-0001");
    EXPECT_EQ(X87ControlWord() & (PrecisionBits | RoundingBits), PrecisionBits);
}

} // namespace
} // namespace zelmora
