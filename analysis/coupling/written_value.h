#pragma once

namespace zelmora {

// The value the calculator reads from a modification line: the text of four decimals read back.
double WrittenValue(double value);

// The friction angle in degrees that the calculator reads from a written sine.
double AngleOfWrittenSine(double sine);

// The sine of an angle in degrees, in extended precision: how a friction angle travels.
long double ExtendedSineOfDegrees(double degrees);

// The same sine as a 64-bit float.
double SineOfDegrees(double degrees);

} // namespace zelmora
