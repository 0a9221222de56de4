#pragma once

#include "project/project_state.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>

namespace fuzz {

// Bit for bit, so that negative zero and NaN count as what they are.
inline bool SameBits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

template <std::size_t N>
bool SameBits(const std::array<double, N>& a, const std::array<double, N>& b) {
    return std::equal(a.begin(), a.end(), b.begin(),
                      [](double x, double y) { return SameBits(x, y); });
}

inline bool SameSoilTable(const zelmora::ProjectState& a, const zelmora::ProjectState& b) {
    for (std::size_t r = 0; r < a.SoilTable.size(); ++r) {
        const zelmora::SoilSet& x = a.SoilTable[r];
        const zelmora::SoilSet& y = b.SoilTable[r];
        if (x.SetNumber != y.SetNumber || !SameBits(x.PhiMean, y.PhiMean) ||
            !SameBits(x.PhiStdDev, y.PhiStdDev) || !SameBits(x.CohesionMean, y.CohesionMean) ||
            !SameBits(x.CohesionStdDev, y.CohesionStdDev)) {
            return false;
        }
    }
    return true;
}

// The fields the project file holds.
inline bool SameStoredFields(const zelmora::ProjectState& a, const zelmora::ProjectState& b) {
    return SameSoilTable(a, b) && SameBits(a.SafetyFactors, b.SafetyFactors) &&
           SameBits(a.LastSafetyFactor, b.LastSafetyFactor) &&
           SameBits(a.FailureProbability, b.FailureProbability) &&
           SameBits(a.Linearity, b.Linearity) && SameBits(a.Beta, b.Beta) &&
           SameBits(a.StepSize, b.StepSize) && a.BatchPath == b.BatchPath &&
           a.ProjectPath == b.ProjectPath && a.ProjectName == b.ProjectName;
}

// The fields no project file reaches.
inline bool SameOtherFields(const zelmora::ProjectState& a, const zelmora::ProjectState& b) {
    return a.Variables == b.Variables && SameBits(a.Sensitivities, b.Sensitivities) &&
           a.VariableCount == b.VariableCount && a.ResultFilePath == b.ResultFilePath &&
           a.ModificationFilePath == b.ModificationFilePath &&
           a.ShowCalculations == b.ShowCalculations && a.CurrentFileName == b.CurrentFileName;
}

} // namespace fuzz
