#pragma once

#include "analysis/methods/calculation_log.h"
#include "analysis/runs/run_outcome.h"

#include <string>
#include <vector>

namespace zelmora {

// Applies the outcomes of the analysis's runs, in plan order, to the project state: stores each
// safety factor, appends the log lines, computes the sensitivities, beta, the probability of
// failure and the linearity where their runs are in. A failed run raises its error.
class FirstOrderEvaluation {
public:
    // Each outcome applied is appended to `applied`; errors name the batch command line.
    FirstOrderEvaluation(CalculationLog& log, const std::string& batchCommandLine,
                         std::vector<RunOutcome>& applied);

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
    std::string batchCommandLine_;
    std::vector<RunOutcome>& applied_;
    double squares_ = 0;
    double total_ = 0;
    bool complete_ = false;
};

} // namespace zelmora
