#include "slopecalc/polyline.h"

#include <algorithm>
#include <utility>

namespace slopecalc {

Polyline::Polyline(std::vector<Point> points) : points_(std::move(points)) {}

double Polyline::ElevationAt(double x) const {
    if (x <= points_.front().x) {
        return points_.front().y;
    }
    if (x >= points_.back().x) {
        return points_.back().y;
    }
    const auto after = std::upper_bound(points_.begin(), points_.end(), x,
                                        [](double value, const Point& p) { return value < p.x; });
    const Point& q = *after;
    const Point& p = *(after - 1);
    return p.y + (q.y - p.y) * (x - p.x) / (q.x - p.x);
}

} // namespace slopecalc
