#pragma once

#include "analysis/analysis_record.h"
#include "analysis/calculation_log.h"
#include "analysis/run_outcome.h"

namespace zelmora {

// Applies the outcomes of the analysis's runs, in plan order, to the project state: stores each
// safety factor, appends the log lines, computes the sensitivities, beta, the probability of
// failure and the linearity where their runs are in. A failed run raises its error.
class RunEvaluation {
public:
    RunEvaluation(CalculationLog& log, AnalysisRecord& record);

    void Apply(const RunOutcome& outcome);

    // True once the all-reduced run was applied.
    bool Complete() const { return complete_; }

private:
    void ApplyInOrder(const RunOutcome& outcome);
    void ApplyVariableRun(int position);
    void EvaluateBeta();
    void EvaluateLinearity();
    void Append(const std::string& line) { log_.AppendLine(line); }

    CalculationLog& log_;
    AnalysisRecord& record_;
    double squares_ = 0;
    double total_ = 0;
    bool complete_ = false;
};

} // namespace zelmora
