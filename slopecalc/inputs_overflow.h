#pragma once

#include "slopecalc/input_error.h"

namespace slopecalc {

// Values so large that a circle's geometry or the sums over its slices leave the range of a
// double. The inputs are at fault, not the circle, so this ends the calculation instead of
// ruling the circle out (which would end in a search that finds no circle, or in a factor of
// the few circles small enough to stay finite).
class InputsOverflow : public InputError {
public:
    InputsOverflow();
};

// Throws InputsOverflow unless value is finite.
void CheckNoOverflow(double value);

} // namespace slopecalc
