#pragma once

#include "analysis/methods/method_result.h"

#include <string>

namespace zelmora {

// FORM's β by iteration as a line with a dot per iteration, on a scale of round steps; the
// title says when the iteration did not converge. An <svg> element of SVG Tiny 1.2 (no styles,
// filters or masks), so that Qt SVG draws it and an HTML page can hold it inline.
std::string IterationChartSvg(const MethodResult& method);

} // namespace zelmora
