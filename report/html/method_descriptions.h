#pragma once

#include "analysis/methods/method_result.h"
#include "analysis/methods/sampling_settings.h"

#include <optional>
#include <string>
#include <vector>

namespace zelmora {

// What a reader needs to judge a method: what it does, its formulas, its assumptions and its
// tolerances, each a paragraph.
struct MethodDescription {
    std::string title;
    std::vector<std::string> paragraphs;
};

// The first-order method's description, then the further method's and the sampling check's when
// they ran; the strengths name FORM's distribution.
std::vector<MethodDescription> MethodDescriptions(std::optional<Method> further,
                                                  StrengthDistribution strengths, bool correlated,
                                                  std::optional<SamplingKind> sampling = {});

// The works the descriptions lean on, as a reference list.
const std::vector<std::string>& MethodReferences();

} // namespace zelmora
