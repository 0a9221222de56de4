#include "project/power_of_ten.h"

#include <array>
#include <limits>

namespace zelmora {

static_assert(std::numeric_limits<long double>::digits == 64,
              "the number forms need the 80-bit extended long double");

namespace {

// Literals, not products: each entry is the correctly rounded extended value.
constexpr std::array<long double, 32> Units = {
    1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,  1e8L,  1e9L,  1e10L,
    1e11L, 1e12L, 1e13L, 1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L, 1e20L, 1e21L,
    1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L, 1e28L, 1e29L, 1e30L, 1e31L};
constexpr std::array<long double, 16> Thirtytwos = {1e0L,   1e32L,  1e64L,  1e96L,  1e128L, 1e160L,
                                                    1e192L, 1e224L, 1e256L, 1e288L, 1e320L, 1e352L,
                                                    1e384L, 1e416L, 1e448L, 1e480L};
constexpr std::array<long double, 10> FiveTwelves = {1e0L,    1e512L,  1e1024L, 1e1536L, 1e2048L,
                                                     1e2560L, 1e3072L, 1e3584L, 1e4096L, 1e4608L};

} // namespace

long double ScaleByPowerOfTen(long double value, int exponent) {
    const bool divide = exponent < 0;
    const int j = divide ? -exponent : exponent;
    auto apply = [&](long double factor) { value = divide ? value / factor : value * factor; };
    apply(Units[j % 32]);
    if ((j / 32) % 16 != 0) {
        apply(Thirtytwos[(j / 32) % 16]);
    }
    if (j / 512 != 0) {
        apply(FiveTwelves[j / 512]);
    }
    return value;
}

} // namespace zelmora
