#pragma once

namespace zelmora {

// Φ(-x), the upper tail of the standard normal distribution, exact to the last bits (erfc).
double NormalTail(double x);

// β = -Φ⁻¹(p), the x whose upper tail is p, for p in (0, 1).
double TailQuantile(double p);

// β of a lognormal safety factor with that mean and coefficient of variation; the mean must be
// above 0.
double LognormalBeta(double meanFactor, double cov);

} // namespace zelmora
