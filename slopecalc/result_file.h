#pragma once

#include "slopecalc/model.h"
#include "slopecalc/search.h"

#include <string>
#include <vector>

namespace slopecalc {

// The crest-side and toe-side crossings of a slip surface.
double EntryX(const Evaluation& evaluation);
double ExitX(const Evaluation& evaluation);

// One 13-line record per stage: a title line; stage, circles, iterations and the safety
// factor; ten descriptive lines; xc, yc, R, x entry, x exit and slices. CR LF line ends.
// Throws zelmora::Error for a factor that is not finite.
std::string FormatResultRecords(const Model& model, const std::vector<StageResult>& stages);

} // namespace slopecalc
