#pragma once

#include "analysis/analysis_record.h"
#include "analysis/methods/derived_results.h"

#include <set>

namespace zelmora {

// What an analysis of the project finished. After a failure or a stop the project may still hold
// values it did not: an earlier analysis's, or the value read from the run that failed. Only the
// keys of runs applied without error count then; after a success every one does.
class FinishedRuns {
public:
    // The project must outlive this.
    FinishedRuns(const AnalysisRecord& record, const ProjectState& project);

    // Whether the safety factor stored under the key (-2..20) is this analysis's own.
    bool HasFactor(int key) const { return all_ || keys_.contains(key); }

    // The derived results of the project without what the analysis did not finish: beta and
    // what comes from Σs² need the mean-value run and every variable's.
    DerivedResults Results() const;

private:
    const ProjectState& project_;
    bool all_;
    std::set<int> keys_;
};

} // namespace zelmora
