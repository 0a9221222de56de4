#pragma once

#include "slopecalc/model.h"
#include "slopecalc/slip_surface.h"

#include <vector>

namespace slopecalc {

// One vertical slice of the sliding mass, per unit length out of plane.
struct Slice {
    double x; // centre line
    double width;
    double base;       // elevation of the base midpoint
    double top;        // ground elevation on the centre line
    double weight;     // all soils above the base
    double baseLength; // along the arc
    double sinAlpha;   // (x - xc) / R: positive where the base rises to the right
    double cosAlpha;
    double cohesion; // of the soil at the base midpoint, at the base's elevation
    double tanPhi;
    double poreForce; // pore pressure at the base midpoint times the width
};

// Cuts the slip surfaces of one model, keeping the soil of each boundary and its buffers
// between calls, so that a search neither looks up nor allocates for every circle.
class SliceCutter {
public:
    explicit SliceCutter(const Model& model);

    // As CutSlices.
    void Cut(const SlipSurface& surface, std::vector<Slice>& slices);

private:
    const Model& model_;
    std::vector<const Material*> soils_; // of each boundary
    std::vector<double> breaks_;
    std::vector<int> counts_;
};

// Cuts the mass above the slip surface into pieces at its breaks (see SliceBreaks), so that no
// slice straddles a change of soil, and the pieces into the model's number of slices, each
// piece's of equal width.
void CutSlices(const Model& model, const SlipSurface& surface, std::vector<Slice>& slices);

} // namespace slopecalc
