#include "analysis/methods/approximate_tail_probability.h"

#include <array>
#include <cmath>

namespace zelmora {

namespace {

// Coefficients from the x^5 term down to the constant.
using Coefficients = std::array<long double, 6>;

constexpr Coefficients BelowTwoAndAHalf{0.0041431L,  -0.038079L,  0.1098403L,
                                        -0.0225263L, -0.3945242L, 0.4998612L};
constexpr Coefficients BelowFour{-0.0008465L, 0.0159792L,  -0.1215602L,
                                 0.4663784L,  -0.9034994L, 0.7079482L};

// The product of two 64-bit values formed in extended precision and stored back to 64 bits.
double Product(double a, double b) {
    return static_cast<double>(static_cast<long double>(a) * static_cast<long double>(b));
}

long double Polynomial(const Coefficients& c, double x) {
    const double x2 = Product(x, x);
    const double x4 = Product(x2, x2);
    const double x3 = Product(x2, x);
    const double x5 = Product(x2, x3);
    return c[0] * x5 + c[1] * x4 + c[2] * x3 + c[3] * x2 + c[4] * x + c[5];
}

long double UpperTail(double x) {
    if (x < 2.5) {
        return Polynomial(BelowTwoAndAHalf, x);
    }
    if (x < 4) {
        return Polynomial(BelowFour, x);
    }
    return 2014.0L * expl(-4.5L * x);
}

} // namespace

double TailProbability(double x) {
    // The approximation holds for the upper tail only; a negative argument takes the
    // complement, so the result stays a probability.
    if (x < 0) {
        return static_cast<double>(1.0L - static_cast<double>(UpperTail(-x)));
    }
    return static_cast<double>(UpperTail(x));
}

} // namespace zelmora
