#pragma once

#include "slopecalc/polyline.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace slopecalc {

struct Material {
    double unitWeight;
    double cohesion;
    double phiDegrees;
};

// The top of soil `set`; the soil reaches down to the next boundary.
struct Boundary {
    std::int32_t set;
    Polyline line;
};

struct Circle {
    double xc;
    double yc;
    double radius;
};

struct Model {
    std::string title;
    std::map<std::int32_t, Material> materials;
    std::vector<Boundary> boundaries; // top down; the first is the ground surface
    double bedrock = 0;
    std::optional<Polyline> water;
    double waterUnitWeight = 9.81;
    double poreRatio = 0;
    int slices = 50;
    std::optional<Circle> circle;

    const Polyline& Ground() const { return boundaries.front().line; }
};

} // namespace slopecalc
