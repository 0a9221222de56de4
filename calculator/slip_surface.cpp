#include "calculator/slip_surface.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace slopecalc {
namespace {

// Up to three crossings are collected: a third already rules the circle out.
struct Crossings {
    std::array<double, 3> x{};
    int count = 0;
    void Add(double value) {
        if (count < 3) {
            x[static_cast<std::size_t>(count)] = value;
        }
        ++count;
    }
};

void CrossSegment(const Circle& c, const Point& p, const Point& q, bool last, Crossings& out) {
    const double dx = q.x - p.x;
    const double dy = q.y - p.y;
    const double fx = p.x - c.xc;
    const double fy = p.y - c.yc;
    const double a = dx * dx + dy * dy;
    const double b = 2 * (fx * dx + fy * dy);
    const double k = fx * fx + fy * fy - c.radius * c.radius;
    const double discriminant = b * b - 4 * a * k;
    if (discriminant <= 0) {
        return;
    }
    const double root = std::sqrt(discriminant);
    for (double t : {(-b - root) / (2 * a), (-b + root) / (2 * a)}) {
        const bool inside = t >= 0 && (t < 1 || (last && t <= 1));
        if (inside && p.y + t * dy <= c.yc) {
            out.Add(p.x + t * dx);
        }
    }
}

} // namespace

double ArcElevation(const Circle& circle, double x) {
    const double dx = x - circle.xc;
    return circle.yc - std::sqrt(std::max(0.0, circle.radius * circle.radius - dx * dx));
}

std::optional<SlipSurface> CutGround(const Model& model, const Circle& circle) {
    const std::vector<Point>& points = model.Ground().Points();
    Crossings crossings;
    for (std::size_t i = 0; i + 1 < points.size() && crossings.count <= 2; ++i) {
        CrossSegment(circle, points[i], points[i + 1], i + 2 == points.size(), crossings);
    }
    if (crossings.count != 2) {
        return std::nullopt;
    }
    const double left = std::min(crossings.x[0], crossings.x[1]);
    const double right = std::max(crossings.x[0], crossings.x[1]);
    const double middle = (left + right) / 2;
    if (!(right > left) || ArcElevation(circle, middle) >= model.Ground().ElevationAt(middle)) {
        return std::nullopt;
    }
    const bool bottomInside = circle.xc > left && circle.xc < right;
    const double lowest = bottomInside
                              ? circle.yc - circle.radius
                              : std::min(ArcElevation(circle, left), ArcElevation(circle, right));
    if (lowest < model.bedrock) {
        return std::nullopt;
    }
    return SlipSurface{circle, left, right};
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
