#include "fuzz_files.h"
#include "project/errors.h"
#include "project/number_forms.h"

#include <cmath>
#include <string_view>

using namespace zelmora;

namespace {

void CheckErrorPosition(const ParsedReal& parsed, std::size_t size) {
    if (parsed.errorPosition < 0 || static_cast<std::size_t>(parsed.errorPosition) > size + 1) {
        fuzz::Fail("error position outside the text");
    }
}

// From 0.1 up to 2^120 the 17 decimals carry every digit a double needs. Below 0.1 the fixed
// form shows the value to 1e-17 only; from 2^120 up it is the scientific form with two digits.
constexpr double SmallestExact = 0.1;
constexpr double LargestFixed = 0x1p120;

void CheckFixedFormRoundTrip(double value) {
    const std::string fixed = FormatFixed(value, 0, 17);
    const ParsedReal again = ParseReal(fixed);
    if (again.errorPosition != 0) {
        fuzz::Fail("the fixed form of a valid number does not parse");
    }
    const double back = NarrowToDouble(again.value);
    const double magnitude = std::fabs(value);
    if (std::signbit(back) != std::signbit(value)) {
        fuzz::Fail("the fixed form loses the sign");
    }
    if (value == 0 || (magnitude >= SmallestExact && magnitude < LargestFixed)) {
        if (back != value) {
            fuzz::Fail("the fixed form with 17 decimals does not give the same value back");
        }
    } else if (magnitude < SmallestExact) {
        // The shown value lies within 0.5e-17 of the value, and the one read back within
        // half a step of the doubles from the shown one.
        const double step = std::nextafter(magnitude, 1.0) - magnitude;
        if (std::fabs(back - value) > 0.5e-17 + step || FormatFixed(back, 0, 17) != fixed) {
            fuzz::Fail("the fixed form of a small value is not the value to 17 decimals");
        }
    } else if (std::fabs(back - value) > 0.051 * magnitude) {
        fuzz::Fail("the two-digit form of a large value is not the value to two digits");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const ParsedReal parsed = ParseReal(text);
    CheckErrorPosition(parsed, size);
    if (parsed.errorPosition != 0) {
        return 0;
    }
    double value = 0;
    try {
        value = NarrowToDouble(parsed.value);
    } catch (const EOverflow&) {
        return 0;
    }
    if (std::isfinite(value)) {
        CheckFixedFormRoundTrip(value);
    }
    return 0;
}
