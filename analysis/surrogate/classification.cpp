#include "analysis/surrogate/classification.h"

#include "analysis/methods/exact_normal_tail.h"

#include <cmath>
#include <limits>
#include <map>

namespace zelmora {

namespace {

constexpr double CertainU = 2;
constexpr double Z95 = 1.959963984540054;

// The number of misclassified points at most, at 95 %: a sum of independent Bernoulli
// variables, by the normal approximation.
struct Misclassified {
    double mean = 0;
    double variance = 0;

    void Add(double probability) {
        mean += probability;
        variance += probability * (1 - probability);
    }
    double Upper() const { return mean + Z95 * std::sqrt(variance); }
};

std::optional<double> ErrorBound(long long failed, const Misclassified& falseFailed,
                                 const Misclassified& falseSafe) {
    const double predicted = static_cast<double>(failed);
    const double fewer = falseFailed.Upper();
    const double more = falseSafe.Upper();
    if (predicted - fewer <= 0) {
        return predicted == 0 && more == 0 ? std::optional<double>(0) : std::nullopt;
    }
    return std::max(fewer / (predicted - fewer), more / (predicted + more));
}

} // namespace

std::vector<std::array<double, 2>> BinnedFactors(const KrigingPrediction& prediction,
                                                 const std::vector<char>& usable, int perUnit) {
    std::map<long long, long long> bins;
    for (std::size_t i = 0; i < usable.size(); ++i) {
        if (!usable[i]) {
            continue;
        }
        const double mean = prediction.mean[static_cast<Eigen::Index>(i)];
        auto bin = static_cast<long long>(std::floor(mean * perUnit));
        // The product's rounding must not carry a point across F = 1.
        bin = mean < 1 ? std::min<long long>(bin, perUnit - 1) : std::max<long long>(bin, perUnit);
        ++bins[bin];
    }
    std::vector<std::array<double, 2>> binned;
    for (const auto& [bin, points] : bins) {
        binned.push_back({(static_cast<double>(bin) + 0.5) / perUnit, static_cast<double>(points)});
    }
    return binned;
}

double LearningU(double mean, double sigma) {
    const double gap = std::abs(mean - 1);
    if (sigma <= 0) {
        return gap > 0 ? std::numeric_limits<double>::infinity() : 0;
    }
    return gap / sigma;
}

double Classification::Probability() const {
    return population == 0 ? 0 : static_cast<double>(failed) / static_cast<double>(population);
}

std::optional<double> Classification::Cov() const {
    const double p = Probability();
    if (p <= 0) {
        return std::nullopt;
    }
    return std::sqrt((1 - p) / (static_cast<double>(population) * p));
}

Classification Classify(const KrigingPrediction& prediction, double noiseSigma,
                        const std::vector<char>& usable, const std::vector<char>& failedRun) {
    Classification c;
    c.population = static_cast<long long>(usable.size());
    c.leastU = std::numeric_limits<double>::infinity();
    Misclassified falseFailed;
    Misclassified falseSafe;
    for (std::size_t i = 0; i < usable.size(); ++i) {
        if (!usable[i]) {
            ++c.inadmissible;
            continue;
        }
        const double mean = prediction.mean[static_cast<Eigen::Index>(i)];
        const double sigma = prediction.sigma[static_cast<Eigen::Index>(i)];
        const double u = LearningU(mean, sigma);
        const bool below = mean < 1;
        const bool uncertain = u < CertainU || failedRun[i];
        c.leastU = std::min(c.leastU, u);
        const double total = std::hypot(sigma, noiseSigma);
        const double wrong = total > 0 ? NormalTail(std::abs(mean - 1) / total) : 0;
        if (below) {
            ++c.failed;
            c.uncertainFailed += uncertain ? 1 : 0;
            falseFailed.Add(wrong);
        } else {
            c.uncertainSafe += uncertain ? 1 : 0;
            c.failedRunsSafe += failedRun[i] ? 1 : 0;
            falseSafe.Add(wrong);
        }
    }
    c.errorEstimate = ErrorBound(c.failed, falseFailed, falseSafe);
    return c;
}

} // namespace zelmora
