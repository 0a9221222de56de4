#pragma once

#include "analysis/correlations.h"

#include <map>
#include <string>

namespace zelmora {

// What the user set for the project beyond its specified file: the correlations of its random
// strengths and a name for each soil row that has one, keyed by row 1..10.
struct StudySettings {
    Correlations correlations;
    std::map<int, std::string> setNames;
};

// The settings of the project the desktop program holds.
extern StudySettings Study;

// The stored pairs whose strengths are all random now; each pair left out adds a line to
// `notes` naming it.
Correlations PairsOfRandomStrengths(const Correlations& stored, std::string& notes);

} // namespace zelmora
