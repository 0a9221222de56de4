#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zelmora {

// The sampling check that may follow the method: none, importance sampling at FORM's design
// point, Monte Carlo over the strengths' own distributions, or a kriging surrogate that learns
// where a Monte Carlo population fails from as few runs as it can.
enum class SamplingKind { None, Importance, MonteCarlo, Surrogate };

// "none", "importance", "monte-carlo", "surrogate".
std::string SamplingKindName(SamplingKind kind);
std::optional<SamplingKind> SamplingKindFromName(std::string_view name);

// "Importance sampling", "Monte Carlo", "Surrogate": how the log and the report name a check.
std::string SamplingTitle(SamplingKind kind);

inline constexpr int LeastSamples = 20;
inline constexpr int MostSamples = 100000;
inline constexpr int LeastBatch = 1;
inline constexpr int MostBatch = 64;
inline constexpr int LeastRuns = 20;
inline constexpr int MostRuns = 100000;

struct SamplingSettings {
    SamplingKind kind = SamplingKind::None;
    int samples = 500;       // the most samples, the method's runs not counted
    double targetCov = 0.10; // of the probability, in (0, 1)
    std::uint64_t seed = 1;
    int batch = 4;     // the surrogate's runs in each round, whatever the runs at once
    int maxRuns = 200; // the surrogate's own runs at most
};

// Whether the numbers lie in their ranges: samples LeastSamples..MostSamples, target in (0, 1),
// batch LeastBatch..MostBatch, the most runs LeastRuns..MostRuns.
bool SamplingSettingsValid(const SamplingSettings& settings);

} // namespace zelmora
