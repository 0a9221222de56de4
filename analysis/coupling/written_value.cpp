#include "analysis/coupling/written_value.h"

#include "project/errors.h"
#include "project/number_forms.h"

#include <cmath>
#include <numbers>

namespace zelmora {

namespace {

constexpr long double DegreesPerRadian = 180.0L / std::numbers::pi_v<long double>;

} // namespace

double WrittenValue(double value) {
    return NarrowToDouble(ParseReal(FormatFixed(value, 8, 4)).value);
}

double AngleOfWrittenSine(double sine) {
    return NarrowToDouble(asinl(WrittenValue(sine)) * DegreesPerRadian);
}

long double ExtendedSineOfDegrees(double degrees) {
    return sinl(static_cast<long double>(degrees) * std::numbers::pi_v<long double> / 180.0L);
}

double SineOfDegrees(double degrees) {
    return NarrowToDouble(ExtendedSineOfDegrees(degrees));
}

} // namespace zelmora
