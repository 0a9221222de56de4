#include "project/extended_precision.h"

namespace zelmora {

namespace {

constexpr std::uint16_t PrecisionAndRounding = 0x0F00;
// Precision control 11 (64-bit mantissa), rounding control 00 (to nearest, ties to even).
constexpr std::uint16_t ExtendedToNearest = 0x0300;

} // namespace

std::uint16_t X87ControlWord() {
    std::uint16_t word = 0;
    asm volatile("fnstcw %0" : "=m"(word));
    return word;
}

void SetX87ControlWord(std::uint16_t word) {
    asm volatile("fldcw %0" : : "m"(word));
}

bool EnsureExtendedPrecision() {
    const std::uint16_t word = X87ControlWord();
    if ((word & PrecisionAndRounding) == ExtendedToNearest) {
        return false;
    }
    SetX87ControlWord(
        static_cast<std::uint16_t>((word & ~PrecisionAndRounding) | ExtendedToNearest));
    return true;
}

} // namespace zelmora
