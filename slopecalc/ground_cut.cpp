#include "slopecalc/ground_cut.h"

#include "slopecalc/inputs_overflow.h"
#include "slopecalc/slip_surface.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace slopecalc {
namespace {

// A corner of the ground, or an end of the stretch where ground and circle overlap in x.
struct Knot {
    double x;
    double y;
    double depth; // of the lower arc below the ground; negative where the arc passes above
};

// A stretch of positive depth and the largest depth in it.
struct Run {
    double left;
    double right;
    double deepest;
};

Knot MakeKnot(const Circle& circle, double x, double y) {
    const double depth = y - ArcElevation(circle, x);
    CheckNoOverflow(depth);
    return {x, y, depth};
}

std::vector<Knot> Knots(const Polyline& ground, const Circle& circle) {
    const double low = std::max(ground.FirstX(), circle.xc - circle.radius);
    const double high = std::min(ground.LastX(), circle.xc + circle.radius);
    std::vector<Knot> knots;
    if (!(high > low)) {
        return knots;
    }
    knots.push_back(MakeKnot(circle, low, ground.ElevationAt(low)));
    for (const Point& p : ground.Points()) {
        if (p.x > low && p.x < high) {
            knots.push_back(MakeKnot(circle, p.x, p.y));
        }
    }
    knots.push_back(MakeKnot(circle, high, ground.ElevationAt(high)));
    return knots;
}

// Between two neighbouring knots the depth is a straight line less a convex arc: it rises to
// its largest value where the arc runs parallel to the ground, then falls, so it is positive
// on one stretch at most. Its ends are the knots or where the ground line meets the circle,
// measured along the line from `a` (at `nearest` plus or minus `half`).
std::optional<Run> PositiveStretch(const Circle& circle, const Knot& a, const Knot& b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double length = std::hypot(dx, dy);
    CheckNoOverflow(length);
    const double ex = dx / length;
    const double ey = dy / length;
    const double xTop = std::clamp(circle.xc + circle.radius * ey, a.x, b.x);
    const double topDepth = a.y + dy * (xTop - a.x) / dx - ArcElevation(circle, xTop);
    CheckNoOverflow(topDepth);
    const double deepest = std::max({a.depth, b.depth, topDepth});
    if (!(deepest > 0)) {
        return std::nullopt;
    }
    const double fx = a.x - circle.xc;
    const double fy = a.y - circle.yc;
    const double nearest = -(fx * ex + fy * ey);
    const double distance = fx * ey - fy * ex; // of the centre from the ground line
    const double half =
        std::sqrt(std::max(0.0, (circle.radius - distance) * (circle.radius + distance)));
    const double left = a.depth > 0 ? a.x : std::clamp(a.x + (nearest - half) * ex, a.x, xTop);
    const double right = b.depth > 0 ? b.x : std::clamp(a.x + (nearest + half) * ex, xTop, b.x);
    return Run{left, right, deepest};
}

// The stretches of positive depth, joined across gaps where the arc rises above the ground by
// no more than the tolerance. The depth in a gap is least at a knot, being concave between.
std::vector<Run> Runs(const Circle& circle, const std::vector<Knot>& knots, double tolerance) {
    std::vector<Run> runs;
    double gapFloor = 0;
    for (std::size_t i = 0; i + 1 < knots.size(); ++i) {
        gapFloor = std::min(gapFloor, knots[i].depth);
        const std::optional<Run> piece = PositiveStretch(circle, knots[i], knots[i + 1]);
        if (!piece) {
            continue;
        }
        if (!runs.empty() && gapFloor >= -tolerance) {
            runs.back().right = piece->right;
            runs.back().deepest = std::max(runs.back().deepest, piece->deepest);
        } else {
            runs.push_back(*piece);
        }
        gapFloor = 0;
    }
    return runs;
}

} // namespace

std::optional<GroundCut> SingleCut(const Polyline& ground, const Circle& circle, double tolerance) {
    const std::vector<Knot> knots = Knots(ground, circle);
    if (knots.empty() || knots.front().depth > tolerance || knots.back().depth > tolerance) {
        return std::nullopt;
    }
    std::vector<Run> runs = Runs(circle, knots, tolerance);
    std::erase_if(runs, [&](const Run& run) { return run.deepest <= tolerance; });
    if (runs.size() != 1) {
        return std::nullopt;
    }
    return GroundCut{runs.front().left, runs.front().right};
}

} // namespace slopecalc
