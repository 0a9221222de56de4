#pragma once

#include <vector>

namespace slopecalc {

struct Point {
    double x;
    double y;
};

// A line with strictly increasing x that continues level beyond its first and last point.
class Polyline {
public:
    explicit Polyline(std::vector<Point> points);

    double ElevationAt(double x) const;
    const std::vector<Point>& Points() const { return points_; }
    double FirstX() const { return points_.front().x; }
    double LastX() const { return points_.back().x; }

private:
    std::vector<Point> points_;
};

} // namespace slopecalc
