#include "slopecalc/slices.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace slopecalc {
namespace {

struct Column {
    double weightPerWidth;
    const Material* baseSoil;
};

// Sums the soils between the ground and the base; the soil at a point is that of the last
// boundary at or above it, and the last soil reaches down without limit. A base that touches
// the ground from above, within the touch tolerance, lies in the top soil.
Column SoilColumn(const Model& model, double x, double base) {
    Column column{0, &model.materials.at(model.boundaries[0].set)};
    const std::size_t count = model.boundaries.size();
    double top = model.boundaries[0].line.ElevationAt(x);
    for (std::size_t k = 0; k < count && top >= base; ++k) {
        const double bottom = k + 1 < count ? model.boundaries[k + 1].line.ElevationAt(x) : base;
        const Material& soil = model.materials.at(model.boundaries[k].set);
        column.weightPerWidth += soil.unitWeight * (top - std::max(bottom, base));
        if (bottom < base || k + 1 == count) {
            column.baseSoil = &soil;
        }
        top = bottom;
    }
    return column;
}

// Water standing above the ground presses on the base, but its own weight is not added to
// the slice: on the safe side for a flooded toe.
double PorePressure(const Model& model, double x, double base, double verticalStress) {
    if (model.water) {
        return model.waterUnitWeight * std::max(0.0, model.water->ElevationAt(x) - base);
    }
    return model.poreRatio * verticalStress;
}

} // namespace

void CutSlices(const Model& model, const SlipSurface& surface, std::vector<Slice>& slices) {
    const Circle& c = surface.circle;
    const int count = model.slices;
    const double width = (surface.xRight - surface.xLeft) / count;
    slices.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        Slice& s = slices[static_cast<std::size_t>(i)];
        s.x = surface.xLeft + (i + 0.5) * width;
        s.width = width;
        s.base = ArcElevation(c, s.x);
        s.top = model.Ground().ElevationAt(s.x);
        const Column column = SoilColumn(model, s.x, s.base);
        s.weight = column.weightPerWidth * width;
        s.sinAlpha = (s.x - c.xc) / c.radius;
        s.cosAlpha = (c.yc - s.base) / c.radius;
        s.cohesion = column.baseSoil->cohesion;
        s.tanPhi = std::tan(column.baseSoil->phiDegrees * std::numbers::pi / 180);
        s.poreForce = PorePressure(model, s.x, s.base, column.weightPerWidth) * width;
    }
}

} // namespace slopecalc
