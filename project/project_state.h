#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

namespace zelmora {

static_assert(std::numeric_limits<long double>::digits == 64,
              "the number forms need the 80-bit extended long double of x86-64");

struct SoilSet {
    std::int32_t SetNumber;
    double PhiMean;
    double PhiStdDev;
    double CohesionMean;
    double CohesionStdDev;
};

// Number of soil rows, and of entries of the arrays keyed -2..20.
inline constexpr int SoilRowCount = 10;
inline constexpr int KeyedEntryCount = 23;

struct ProjectState {
    std::array<SoilSet, SoilRowCount> SoilTable;         // rows 1..10 at 0..9: use Row()
    std::array<std::int32_t, KeyedEntryCount> Variables; // RunId -2..20: use Entry()
    std::array<double, KeyedEntryCount> SafetyFactors;   // key -2..20: use Entry()
    std::array<double, KeyedEntryCount> Sensitivities;   // key -2..20: use Entry()
    std::int32_t VariableCount;
    double LastSafetyFactor;
    double FailureProbability;
    double Beta;
    double Linearity;
    double StepSize;
    std::string BatchPath;
    std::string ProjectPath;
    std::string ProjectName;
    std::string ResultFilePath;
    std::string ModificationFilePath;
    bool ShowCalculations;
    std::string CurrentFileName;
};

// The one process-wide project: zero, empty and false at process start.
extern ProjectState State;

// The entry of key k (-2..20) of an array keyed from -2.
template <class Array> constexpr auto& Entry(Array& keyed, int key) {
    return keyed[static_cast<std::size_t>(2 + key)];
}

// Soil row r, numbered 1..10.
constexpr SoilSet& Row(ProjectState& state, int r) {
    return state.SoilTable[static_cast<std::size_t>(r - 1)];
}
constexpr const SoilSet& Row(const ProjectState& state, int r) {
    return state.SoilTable[static_cast<std::size_t>(r - 1)];
}

// Gives the five settings their start-up values.
void SetDefaults();

} // namespace zelmora
