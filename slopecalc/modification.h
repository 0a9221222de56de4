#pragma once

#include "slopecalc/model.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace slopecalc {

// Parameter numbers of a modification line.
inline constexpr int SinePhiParameter = 3;
inline constexpr int CohesionParameter = 4;

struct Modification {
    std::int32_t set;
    int parameter;
    double value; // sin phi for parameter 3, the cohesion for parameter 4
};

// Reads "count" then lines "1 <set> <parameter> <value>"; throws InputError at the first fault.
std::vector<Modification> ParseModifications(std::string_view text, const Model& model);

// A missing file means no modifications.
std::vector<Modification> ReadModificationFile(const std::string& path, const Model& model);

void ApplyModifications(Model& model, const std::vector<Modification>& modifications);

} // namespace slopecalc
