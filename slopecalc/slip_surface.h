#pragma once

#include "slopecalc/model.h"

#include <optional>

namespace slopecalc {

// A circle whose lower arc runs below the ground surface on one stretch of its x-range.
struct SlipSurface {
    Circle circle;
    double xLeft;
    double xRight;
};

double ArcElevation(const Circle& circle, double x);

// How far a circle may pass below the ground without cutting it, or above it without leaving
// the sliding mass, as a share of the model's extent: so a circle through a corner of the
// ground, or one that touches the ground, counts as meeting it once, whatever the rounding.
inline constexpr double TouchTolerance = 1e-9;

// The slip surface of a circle, or nothing when the circle does not cut the ground twice
// (touches aside) or reaches below the bedrock. Throws InputsOverflow when the circle's
// geometry leaves the range of a double.
std::optional<SlipSurface> CutGround(const Model& model, const Circle& circle);

// The circle through the ground points at xa and xb whose arc below the chord spans twice
// halfAngle (radians).
Circle CircleThroughGround(const Polyline& ground, double xa, double xb, double halfAngle);

} // namespace slopecalc
