#include "analysis/methods/sampling_settings.h"

#include <array>
#include <utility>

namespace zelmora {

namespace {

constexpr std::array<std::pair<SamplingKind, std::string_view>, 4> Names{{
    {SamplingKind::None, "none"},
    {SamplingKind::Importance, "importance"},
    {SamplingKind::MonteCarlo, "monte-carlo"},
    {SamplingKind::Surrogate, "surrogate"},
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
    if (kind == SamplingKind::Surrogate) {
        return "Surrogate";
    }
    return kind == SamplingKind::Importance ? "Importance sampling" : "Monte Carlo";
}

bool SamplingSettingsValid(const SamplingSettings& settings) {
    return settings.samples >= LeastSamples && settings.samples <= MostSamples &&
           settings.targetCov > 0 && settings.targetCov < 1 && settings.batch >= LeastBatch &&
           settings.batch <= MostBatch && settings.maxRuns >= LeastRuns &&
           settings.maxRuns <= MostRuns;
}

} // namespace zelmora
