#pragma once

#include "slopecalc/model.h"

#include <array>
#include <string>
#include <string_view>

namespace slopecalc {

// A statement of the model file: its keyword, the form it takes and what it says.
struct KeywordForm {
    std::string_view keyword;
    std::string_view form;
    std::string_view meaning;
};

inline constexpr std::array<KeywordForm, 10> KeywordForms{{
    {"title", "title <text>", "the model's title, shown in the summary, result and picture"},
    {"material",
     "material <set> unit_weight <gamma> cohesion <c> phi <degrees> [cohesion_rate <k> datum "
     "<z0>] [ru <r>]",
     "a soil set; below the elevation z0 its cohesion is c + k (z0 - z), above it c; r, from 0 "
     "up to 1, is its own pore-pressure ratio"},
    {"boundary", "boundary <set> <x1> <y1> <x2> <y2> ...",
     "the top of soil <set>, x increasing; listed top down, the first is the ground surface"},
    {"bedrock", "bedrock <y>", "no slip surface goes below this elevation"},
    {"water", "water <x1> <y1> <x2> <y2> ...", "a phreatic line"},
    {"water_unit_weight", "water_unit_weight <gamma_w>",
     "the unit weight of water, 9.81 unless given"},
    {"pore_pressure_ratio", "pore_pressure_ratio <ru>",
     "u = ru times the vertical stress at a slice base, in every soil without an ru of its own"},
    {"slices", "slices <n>", "how many slices, from 2 to 10000; 50 unless given"},
    {"circle", "circle <xc> <yc> <radius>", "evaluate this circle instead of searching"},
    {"search", "search entry <x1> <x2> exit <x3> <x4>",
     "keep the searched circles' entry (crest side) and exit (toe side) within these x-ranges"},
}};

// Reads and checks a model; throws InputError naming the line at the first fault.
Model ParseModel(std::string_view text);

Model ReadModelFile(const std::string& path);

} // namespace slopecalc
