#include "analysis/methods/sampling_settings.h"

#include <array>
#include <utility>

namespace zelmora {

namespace {

constexpr std::array<std::pair<SamplingKind, std::string_view>, 3> Names{{
    {SamplingKind::None, "none"},
    {SamplingKind::Importance, "importance"},
    {SamplingKind::MonteCarlo, "monte-carlo"},
}};

} // namespace

std::string SamplingKindName(SamplingKind kind) {
    for (const auto& [named, name] : Names) {
        if (named == kind) {
            return std::string(name);
        }
    }
    return {};
}

std::optional<SamplingKind> SamplingKindFromName(std::string_view name) {
    for (const auto& [kind, named] : Names) {
        if (named == name) {
            return kind;
        }
    }
    return std::nullopt;
}

std::string SamplingTitle(SamplingKind kind) {
    return kind == SamplingKind::Importance ? "Importance sampling" : "Monte Carlo";
}

bool SamplingSettingsValid(const SamplingSettings& settings) {
    return settings.samples >= LeastSamples && settings.samples <= MostSamples &&
           settings.targetCov > 0 && settings.targetCov < 1;
}

} // namespace zelmora
