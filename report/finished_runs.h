#pragma once

#include "analysis/analysis_record.h"
#include "analysis/methods/derived_results.h"

#include <set>

namespace zelmora {

// What an analysis finished. After a failure or a stop the state may still hold values it did
// not: an earlier analysis's, or the value read from the run that failed. Only the keys of runs
// applied without error count then; after a success every one does.
class FinishedRuns {
public:
    explicit FinishedRuns(const AnalysisRecord& record);

    // Whether the safety factor stored under the key (-2..20) is this analysis's.
    bool Key(int key) const { return all_ || keys_.contains(key); }

    // The derived results of State without what the analysis did not finish: beta and what
    // comes from Σs² need the mean-value run and every variable's.
    DerivedResults Results() const;

private:
    bool all_;
    std::set<int> keys_;
};

} // namespace zelmora
