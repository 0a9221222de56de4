#pragma once

#include "analysis/analysis_record.h"
#include "project/project_state.h"
#include "report/relied_on.h"

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
    // A sampling check that saw no failure says what it can instead of a bare 0: the bounds with
    // the samples not run where there are such, else its 95 % interval.
    std::string probabilityNote{};
};

struct MethodsThatRan {
    std::vector<MethodThatRan> methods;  // in the order they ran
    std::optional<std::size_t> reliedOn; // the one whose β the report judges
    std::optional<ReliedOn> relied;      // what it gives: an upper bound, maybe, and why
    std::string formDisagreement;        // which way the sampling check departs from FORM
};

// First order as the summary lists it: the project's β once its analysis, as `record` tells of
// it, finished the runs it needs, and its exact probability Φ(-β).
MethodThatRan FirstOrderThatRan(const ProjectState& project, const AnalysisRecord& record);

// First order and the methods `record` tells of, with the one ReliedOnIn relies on.
MethodsThatRan MethodsThatRanIn(const MethodThatRan& firstOrder, const AnalysisRecord& record);

// The method relied on in one line, as the windows show it: its β and probability of failure,
// then why; "No method found a β to rely on." when none did.
std::string ReliedOnLine(const MethodsThatRan& ran);

} // namespace zelmora
