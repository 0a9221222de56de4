#pragma once

#include <cstdint>

namespace zelmora {

// The number forms compute in the x87 unit at 64-bit precision, rounding to nearest. Linux starts
// programs so and MinGW's start-up code sets it, but Windows starts 64-bit programs at 53 bits
// and a host (a loader, a plug-in) may change the control word behind our back. Sets precision
// and rounding when they differ, keeping the exception masks; true when they had to be set.
bool EnsureExtendedPrecision();

// The x87 control word as it is, and setting it: for the checks above and their tests.
std::uint16_t X87ControlWord();
void SetX87ControlWord(std::uint16_t word);

} // namespace zelmora
