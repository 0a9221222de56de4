#pragma once

#include "analysis/analysis_record.h"
#include "project/project_state.h"

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

// First order as the summary lists it: the project's β once its analysis, as `record` tells of
// it, finished the runs it needs, and its exact probability Φ(-β).
MethodThatRan FirstOrderThatRan(const ProjectState& project, const AnalysisRecord& record);

// First order and the methods `record` tells of, with the one to rely on: the sampling check
// when it stopped by its target CoV and failed runs do not decide it, else FORM when it
// converged, else the Taylor series, else first order. A method without a β that is a finite
// number is never relied on.
MethodsThatRan MethodsThatRanIn(const MethodThatRan& firstOrder, const AnalysisRecord& record);

} // namespace zelmora
