#pragma once

#include "calculator/model.h"

#include <optional>

namespace slopecalc {

// A circle whose lower arc cuts the ground surface exactly twice within its x-range.
struct SlipSurface {
    Circle circle;
    double xLeft;
    double xRight;
};

double ArcElevation(const Circle& circle, double x);

// The slip surface of a circle, or nothing when the circle does not cut the ground twice or
// reaches below the bedrock.
std::optional<SlipSurface> CutGround(const Model& model, const Circle& circle);

// The circle through the ground points at xa and xb whose arc below the chord spans twice
// halfAngle (radians).
Circle CircleThroughGround(const Polyline& ground, double xa, double xb, double halfAngle);

} // namespace slopecalc
