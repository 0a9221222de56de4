#pragma once

#include "slopecalc/model.h"
#include "slopecalc/polyline.h"

#include <optional>

namespace slopecalc {

// The stretch of the ground's x-range where a circle's lower arc runs below the ground.
struct GroundCut {
    double left;
    double right;
};

// The one stretch where the lower arc runs below the ground, or nothing when there is none,
// when there are several, or when the arc still lies below the ground where it or the ground
// line ends. Touches count for nothing: the arc may dip below the ground outside the stretch,
// or rise above it inside, by up to `tolerance`, and the stretch may end on a corner.
// Throws InputsOverflow when the geometry leaves the range of a double.
std::optional<GroundCut> SingleCut(const Polyline& ground, const Circle& circle, double tolerance);

} // namespace slopecalc
