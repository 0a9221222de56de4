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
    double cohesion; // at the datum where the cohesion rises with depth
    double phiDegrees;
    double cohesionRate = 0; // per unit depth below the datum
    double datum = 0;
    std::optional<double> poreRatio; // the material's own r_u, before the model's

    double CohesionAt(double elevation) const {
        return cohesionRate > 0 && elevation < datum ? cohesion + cohesionRate * (datum - elevation)
                                                     : cohesion;
    }
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

struct Range {
    double from;
    double to;

    bool Holds(double x, double tolerance) const {
        return x >= from - tolerance && x <= to + tolerance;
    }
    double Middle() const { return (from + to) / 2; }
};

// Where the search's circles meet the ground: the entry on the crest side, the exit at the toe.
struct SearchLimits {
    Range entry;
    Range exit;
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
    std::optional<SearchLimits> searchLimits;

    const Polyline& Ground() const { return boundaries.front().line; }
};

} // namespace slopecalc
