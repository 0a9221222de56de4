#include "report/charts/svg_elements.h"

#include "project/number_forms.h"
#include "report/markup_escape.h"

#include <algorithm>
#include <cmath>

namespace zelmora {

namespace {

// DejaVu Sans is what Debian's Chromium and Qt find; Arial stands in on Windows.
const char* const Font = R"( font-family="DejaVu Sans, Arial, sans-serif" font-size="12")";

} // namespace

std::string SvgNumber(double value) {
    return FormatFixed(value, 0, 1);
}

std::string SvgText(double x, double y, const std::string& anchor, const std::string& text) {
    return R"(<text x=")" + SvgNumber(x) + R"(" y=")" + SvgNumber(y) + R"(" text-anchor=")" +
           anchor + R"(")" + Font + R"( fill="#000000">)" + EscapeMarkup(text) + "</text>\n";
}

std::string SvgLine(double x1, double y1, double x2, double y2, const std::string& colour) {
    return R"(<line x1=")" + SvgNumber(x1) + R"(" y1=")" + SvgNumber(y1) + R"(" x2=")" +
           SvgNumber(x2) + R"(" y2=")" + SvgNumber(y2) + R"(" stroke=")" + colour +
           R"(" stroke-width="1"/>)" + "\n";
}

double RoundStep(double span, int ticks) {
    const double magnitude = std::pow(10.0, std::floor(std::log10(span / ticks)));
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (span / (factor * magnitude) <= ticks) {
            return factor * magnitude;
        }
    }
    return 10 * magnitude;
}

int StepDecimals(double step) {
    return std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9)));
}

std::string SvgStart(double width, double height, const std::string& title) {
    const std::string w = SvgNumber(width);
    const std::string h = SvgNumber(height);
    return R"(<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" width=")" +
           w + R"(" height=")" + h + R"(" viewBox="0 0 )" + w + " " + h + R"(">)" + "\n<title>" +
           EscapeMarkup(title) + "</title>\n";
}

} // namespace zelmora
