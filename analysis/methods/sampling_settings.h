#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zelmora {

// The sampling check that may follow the method: none, importance sampling at FORM's design
// point, or Monte Carlo over the strengths' own distributions.
enum class SamplingKind { None, Importance, MonteCarlo };

// "none", "importance", "monte-carlo".
std::string SamplingKindName(SamplingKind kind);
std::optional<SamplingKind> SamplingKindFromName(std::string_view name);

// "Importance sampling", "Monte Carlo": how the log and the report name a check.
std::string SamplingTitle(SamplingKind kind);

inline constexpr int LeastSamples = 20;
inline constexpr int MostSamples = 100000;

struct SamplingSettings {
    SamplingKind kind = SamplingKind::None;
    int samples = 500;       // the most samples, the method's runs not counted
    double targetCov = 0.10; // of the probability, in (0, 1)
    std::uint64_t seed = 1;
};

// Whether the numbers lie in their ranges: samples LeastSamples..MostSamples, target in (0, 1).
bool SamplingSettingsValid(const SamplingSettings& settings);

} // namespace zelmora
