#pragma once

#include "analysis/methods/derived_results.h"

#include <string>

namespace zelmora {

// The shares of the variance as horizontal bars, largest on top: a bar to the right for a
// positive sensitivity, to the left for a negative one; φ and c in two colours that stay
// apart in grey. An <svg> element of SVG Tiny 1.2 (no styles, filters or masks), so that Qt SVG
// draws it and an HTML page can hold it inline.
std::string ShareChartSvg(const DerivedResults& results);

} // namespace zelmora
