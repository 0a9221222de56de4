#include "analysis/methods/sampling_estimate.h"

#include <algorithm>
#include <cmath>

namespace zelmora {

namespace {

constexpr long double Z95 = 1.959963984540054L;

} // namespace

std::array<double, 2> WilsonInterval95(long double p, long double n) {
    const long double z2 = Z95 * Z95;
    const long double centre = (p + z2 / (2 * n)) / (1 + z2 / n);
    const long double half = Z95 / (1 + z2 / n) * std::sqrt(p * (1 - p) / n + z2 / (4 * n * n));
    return {static_cast<double>(std::max(centre - half, 0.0L)),
            static_cast<double>(std::min(centre + half, 1.0L))};
}

void SamplingEstimate::Add(double weight, bool below, bool unknown) {
    ++samples_;
    const long double w = weighted_ ? weight : 1;
    if (below) {
        ++failures_;
        sum_ += w;
        squares_ += w * w;
    }
    if (below || unknown) {
        upper_ += w;
    }
}

double SamplingEstimate::Probability() const {
    return samples_ == 0 ? 0 : static_cast<double>(sum_ / samples_);
}

double SamplingEstimate::UpperBound() const {
    return samples_ == 0 ? 0 : static_cast<double>(upper_ / samples_);
}

std::optional<double> SamplingEstimate::Cov() const {
    if (failures_ == 0 || samples_ < 2) {
        return std::nullopt;
    }
    const long double n = samples_;
    const long double p = sum_ / n;
    if (!weighted_) {
        return static_cast<double>(std::sqrt((1 - p) / (n * p)));
    }
    const long double variance = std::max((squares_ - n * p * p) / (n - 1), 0.0L);
    return static_cast<double>(std::sqrt(variance / n) / p);
}

std::array<double, 2> SamplingEstimate::Interval95() const {
    const long double n = samples_;
    const long double p = n > 0 ? sum_ / n : 0;
    if (!weighted_ || failures_ == 0) {
        return WilsonInterval95(p, n);
    }
    const long double half = Z95 * p * static_cast<long double>(*Cov());
    return {static_cast<double>(std::max(p - half, 0.0L)), static_cast<double>(p + half)};
}

} // namespace zelmora
