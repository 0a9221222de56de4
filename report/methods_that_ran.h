#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zelmora {

// One reliability method of an analysis as the summary lists it.
struct MethodThatRan {
    std::string name; // "First order", "Taylor series", "FORM", "Sampling check"
    std::optional<double> beta;
    std::optional<double> probability;
    std::string remark; // why it is not relied on, when that is its own doing
};

struct MethodsThatRan {
    std::vector<MethodThatRan> methods;  // in the order they ran
    std::optional<std::size_t> reliedOn; // the one whose β the report judges
};

// The methods of an analysis JSON as AnalysisJson writes it, with the one to rely on: the
// sampling check when it stopped by its target CoV and failed runs do not decide it, else FORM
// when it converged, else the Taylor series, else first order; a method without β is never
// relied on. Throws nlohmann's exceptions for text that is not such JSON.
MethodsThatRan ReadMethodsThatRan(const std::string& analysisJson);

} // namespace zelmora
