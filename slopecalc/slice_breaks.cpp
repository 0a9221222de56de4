#include "slopecalc/slice_breaks.h"

#include <algorithm>
#include <cmath>

namespace slopecalc {
namespace {

// Adds where the circle's lower arc meets the segment from a to b, strictly between lo and hi.
void AddCrossings(const Circle& circle, const Point& a, const Point& b, double lo, double hi,
                  std::vector<double>& breaks) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double length = std::hypot(dx, dy);
    if (!(length > 0)) {
        return;
    }
    const double ex = dx / length;
    const double ey = dy / length;
    const double fx = a.x - circle.xc;
    const double fy = a.y - circle.yc;
    const double distance = fx * ey - fy * ex; // of the centre from the segment's line
    if (!(std::fabs(distance) <= circle.radius)) {
        return;
    }
    const double nearest = -(fx * ex + fy * ey);
    const double half = std::sqrt((circle.radius - distance) * (circle.radius + distance));
    for (const double along : {nearest - half, nearest + half}) {
        const double x = a.x + along * ex;
        if (x > lo && x < hi && x >= a.x && x <= b.x && a.y + along * ey <= circle.yc) {
            breaks.push_back(x);
        }
    }
}

// The same for a line that continues level beyond its ends.
void AddLineCrossings(const Circle& circle, const Polyline& line, double lo, double hi,
                      std::vector<double>& breaks) {
    const std::vector<Point>& points = line.Points();
    auto corner = std::upper_bound(points.begin(), points.end(), lo,
                                   [](double x, const Point& p) { return x < p.x; });
    Point previous{lo, line.ElevationAt(lo)};
    for (; corner != points.end() && corner->x < hi; ++corner) {
        AddCrossings(circle, previous, *corner, lo, hi, breaks);
        previous = *corner;
    }
    AddCrossings(circle, previous, {hi, line.ElevationAt(hi)}, lo, hi, breaks);
}

void AddCorners(const Polyline& line, double lo, double hi, std::vector<double>& breaks) {
    for (const Point& p : line.Points()) {
        if (p.x > lo && p.x < hi) {
            breaks.push_back(p.x);
        }
    }
}

} // namespace

void SliceBreaks(const Model& model, const SlipSurface& surface, std::vector<double>& breaks) {
    const Circle& circle = surface.circle;
    const double lo = surface.xLeft;
    const double hi = surface.xRight;
    breaks.clear();
    AddCorners(model.Ground(), lo, hi, breaks);
    for (std::size_t k = 1; k < model.boundaries.size(); ++k) {
        AddLineCrossings(circle, model.boundaries[k].line, lo, hi, breaks);
    }
    if (model.water) {
        AddLineCrossings(circle, *model.water, lo, hi, breaks);
    }
    for (const auto& [set, material] : model.materials) {
        if (material.cohesionRate > 0) {
            AddCrossings(circle, {lo, material.datum}, {hi, material.datum}, lo, hi, breaks);
        }
    }
    std::sort(breaks.begin(), breaks.end());
    // Breaks closer than this make pieces too narrow to matter.
    const double merge = 1e-9 * (hi - lo);
    std::vector<double>::iterator kept = breaks.begin();
    double last = lo;
    for (const double x : breaks) {
        if (x - last > merge && hi - x > merge) {
            *kept++ = x;
            last = x;
        }
    }
    breaks.erase(kept, breaks.end());
    breaks.insert(breaks.begin(), lo);
    breaks.push_back(hi);
}

void ShareSlices(const std::vector<double>& breaks, int requested, std::vector<int>& counts) {
    const std::size_t pieces = breaks.size() - 1;
    const double total = breaks.back() - breaks.front();
    const auto width = [&](std::size_t i) { return breaks[i + 1] - breaks[i]; };
    counts.assign(pieces, 1);
    int given = 0;
    for (std::size_t i = 0; i < pieces; ++i) {
        counts[i] = std::max(1, static_cast<int>(requested * (width(i) / total)));
        given += counts[i];
    }
    // Rounding down leaves fewer than one slice per piece to give out.
    for (; given < requested; ++given) {
        std::size_t widest = 0;
        for (std::size_t i = 1; i < pieces; ++i) {
            if (width(i) * counts[widest] > width(widest) * counts[i]) {
                widest = i;
            }
        }
        ++counts[widest];
    }
    // The one slice of each narrow piece may have taken more than was asked for.
    for (; given > requested; --given) {
        std::size_t narrowest = pieces;
        for (std::size_t i = 0; i < pieces; ++i) {
            if (counts[i] > 1 && (narrowest == pieces || width(i) * (counts[narrowest] - 1) <
                                                             width(narrowest) * (counts[i] - 1))) {
                narrowest = i;
            }
        }
        if (narrowest == pieces) {
            break;
        }
        --counts[narrowest];
    }
}

} // namespace slopecalc
