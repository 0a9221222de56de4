#pragma once

#include "slopecalc/model.h"
#include "slopecalc/slip_surface.h"

#include <vector>

namespace slopecalc {

// The x, from the surface's left end to its right end in increasing order, that divide the
// sliding mass into pieces in each of which the base lies in one soil and the weight and
// strength along the base vary smoothly: the ends, the corners of the ground, and where the
// arc crosses a boundary, the water line or a soil's datum.
void SliceBreaks(const Model& model, const SlipSurface& surface, std::vector<double>& breaks);

// How many slices each piece between neighbouring breaks gets: at least one, and together the
// requested count where the pieces allow it, given out so that the widest slice is as narrow
// as it can be.
void ShareSlices(const std::vector<double>& breaks, int requested, std::vector<int>& counts);

} // namespace slopecalc
