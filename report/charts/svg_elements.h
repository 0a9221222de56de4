#pragma once

#include <string>

namespace zelmora {

// The pieces the charts of the window and the report share: coordinates to one decimal, text in
// one font, and the opening of an SVG Tiny 1.2 document with its title.
std::string SvgNumber(double value);

// Black text at (x, y); `anchor` is "start", "middle" or "end". The text is escaped.
std::string SvgText(double x, double y, const std::string& anchor, const std::string& text);

// A line one pixel wide.
std::string SvgLine(double x1, double y1, double x2, double y2, const std::string& colour);

// A round step of 1, 2 or 5 times a power of ten giving at most `ticks` steps across `span` (> 0),
// and the decimals its ticks need.
double RoundStep(double span, int ticks);
int StepDecimals(double step);

// The <svg> start tag of a drawing `width` by `height` and its <title>; the caller closes it.
std::string SvgStart(double width, double height, const std::string& title);

} // namespace zelmora
