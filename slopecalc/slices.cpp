#include "slopecalc/slices.h"

#include "slopecalc/slice_breaks.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace slopecalc {
namespace {

struct Column {
    double ground;
    double weightPerWidth;
    const Material* baseSoil;
};

// Sums the soils between the ground and the base; the soil at a point is that of the last
// boundary at or above it, and the last soil reaches down without limit. A base that touches
// the ground from above, within the touch tolerance, lies in the top soil.
Column SoilColumn(const Model& model, const std::vector<const Material*>& soils, double x,
                  double base) {
    Column column{model.boundaries[0].line.ElevationAt(x), 0, soils[0]};
    const std::size_t count = model.boundaries.size();
    double top = column.ground;
    for (std::size_t k = 0; k < count && top >= base; ++k) {
        const double bottom = k + 1 < count ? model.boundaries[k + 1].line.ElevationAt(x) : base;
        const Material& soil = *soils[k];
        column.weightPerWidth += soil.unitWeight * (top - std::max(bottom, base));
        if (bottom < base || k + 1 == count) {
            column.baseSoil = &soil;
        }
        top = bottom;
    }
    return column;
}

// A point of the arc where two slices meet: its angle from the vertical through the centre,
// and the area between the vertical through the centre, the centre's level and the arc up to
// it.
struct Edge {
    double x;
    double angle;
    double area;
};

Edge EdgeAt(const Circle& c, double x) {
    const double u = std::clamp(x - c.xc, -c.radius, c.radius);
    const double depth = std::sqrt((c.radius - u) * (c.radius + u));
    const double angle = std::asin(u / c.radius);
    return {x, angle, (u * depth + c.radius * c.radius * angle) / 2};
}

// Water standing above the ground presses on the base, but its own weight is not added to
// the slice: on the safe side for a flooded toe. The water line, like the soil, meets the base
// on the whole slice or nowhere on it, so the base's curvature enters as it does the weight.
double PoreForce(const Model& model, const Slice& s, const Column& column, double curvature) {
    if (model.water) {
        const double head = model.water->ElevationAt(s.x) - s.base;
        return head > 0 ? model.waterUnitWeight * (head * s.width + curvature) : 0;
    }
    return column.baseSoil->poreRatio.value_or(model.poreRatio) * s.weight;
}

// Cuts slices one after the other and keeps what neighbours share: the edge between them and
// the tangent of the base soil's phi, which stays the same over a piece.
class SliceRun {
public:
    SliceRun(const Model& model, const std::vector<const Material*>& soils, const Circle& circle,
             double xLeft)
        : model_(model), soils_(soils), c_(circle), left_(EdgeAt(circle, xLeft)) {}

    void Next(double xRight, Slice& s);

private:
    double TanPhi(const Material& soil);

    const Model& model_;
    const std::vector<const Material*>& soils_;
    const Circle& c_;
    Edge left_;
    const Material* soil_ = nullptr;
    double tanPhi_ = 0;
};

double SliceRun::TanPhi(const Material& soil) {
    if (&soil != soil_) {
        soil_ = &soil;
        tanPhi_ = std::tan(soil.phiDegrees * std::numbers::pi / 180);
    }
    return tanPhi_;
}

// The slice's weight is that of the soil column on its centre line times its width, less
// what the base's curvature takes from the lowest soil, and its base is as long as its arc:
// both exact while the lines above the base run straight over the slice.
void SliceRun::Next(double xRight, Slice& s) {
    const Edge right = EdgeAt(c_, xRight);
    s.x = (left_.x + xRight) / 2;
    s.width = xRight - left_.x;
    s.base = ArcElevation(c_, s.x);
    const Column column = SoilColumn(model_, soils_, s.x, s.base);
    s.top = column.ground;
    // Never above 0: the base is convex from below, so its midpoint lies below its mean.
    const double curvature = std::min(0.0, right.area - left_.area - s.width * (c_.yc - s.base));
    s.weight = column.weightPerWidth * s.width + column.baseSoil->unitWeight * curvature;
    s.baseLength = c_.radius * (right.angle - left_.angle);
    s.sinAlpha = (s.x - c_.xc) / c_.radius;
    s.cosAlpha = (c_.yc - s.base) / c_.radius;
    s.cohesion = column.baseSoil->CohesionAt(s.base);
    s.tanPhi = TanPhi(*column.baseSoil);
    s.poreForce = PoreForce(model_, s, column, curvature);
    left_ = right;
}

} // namespace

SliceCutter::SliceCutter(const Model& model) : model_(model) {
    for (const Boundary& boundary : model.boundaries) {
        soils_.push_back(&model.materials.at(boundary.set));
    }
}

void SliceCutter::Cut(const SlipSurface& surface, std::vector<Slice>& slices) {
    SliceBreaks(model_, surface, breaks_);
    ShareSlices(breaks_, model_.slices, counts_);
    slices.clear();
    SliceRun run(model_, soils_, surface.circle, surface.xLeft);
    for (std::size_t piece = 0; piece < counts_.size(); ++piece) {
        const double width = (breaks_[piece + 1] - breaks_[piece]) / counts_[piece];
        for (int i = 1; i < counts_[piece]; ++i) {
            run.Next(breaks_[piece] + i * width, slices.emplace_back());
        }
        run.Next(breaks_[piece + 1], slices.emplace_back());
    }
}

void CutSlices(const Model& model, const SlipSurface& surface, std::vector<Slice>& slices) {
    SliceCutter(model).Cut(surface, slices);
}

} // namespace slopecalc
