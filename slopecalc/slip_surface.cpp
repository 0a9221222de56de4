#include "slopecalc/slip_surface.h"

#include "slopecalc/ground_cut.h"
#include "slopecalc/inputs_overflow.h"

#include <algorithm>
#include <cmath>

namespace slopecalc {
namespace {

// A model's extent: the larger of its ground line's width and its height above the bedrock.
double Extent(const Model& model) {
    const Polyline& ground = model.Ground();
    double top = model.bedrock;
    for (const Point& p : ground.Points()) {
        top = std::max(top, p.y);
    }
    const double extent = std::max(ground.LastX() - ground.FirstX(), top - model.bedrock);
    CheckNoOverflow(extent);
    return extent;
}

} // namespace

double ArcElevation(const Circle& circle, double x) {
    const double dx = x - circle.xc;
    // As a product the difference of squares neither cancels near the ends of the arc nor
    // becomes inf - inf, which the floor at 0 would hide.
    return circle.yc - std::sqrt(std::max(0.0, (circle.radius - dx) * (circle.radius + dx)));
}

std::optional<SlipSurface> CutGround(const Model& model, const Circle& circle) {
    const auto cut = SingleCut(model.Ground(), circle, TouchTolerance * Extent(model));
    if (!cut) {
        return std::nullopt;
    }
    const bool bottomInside = circle.xc > cut->left && circle.xc < cut->right;
    const double lowest =
        bottomInside ? circle.yc - circle.radius
                     : std::min(ArcElevation(circle, cut->left), ArcElevation(circle, cut->right));
    if (lowest < model.bedrock) {
        return std::nullopt;
    }
    return SlipSurface{circle, cut->left, cut->right};
}

Circle CircleThroughGround(const Polyline& ground, double xa, double xb, double halfAngle) {
    const Point a{xa, ground.ElevationAt(xa)};
    const Point b{xb, ground.ElevationAt(xb)};
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double chord = std::hypot(dx, dy);
    const double halfChord = chord / 2;
    const double offset = halfChord / std::tan(halfAngle);
    // The unit normal (-dy, dx) / chord points up while xb > xa.
    return Circle{(a.x + b.x) / 2 - dy / chord * offset, (a.y + b.y) / 2 + dx / chord * offset,
                  halfChord / std::sin(halfAngle)};
}

} // namespace slopecalc
