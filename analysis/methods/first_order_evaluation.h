#pragma once

#include "analysis/coupling/analysis_inputs.h"
#include "analysis/methods/calculation_log.h"
#include "analysis/methods/first_order_result.h"
#include "analysis/methods/stored_results.h"
#include "analysis/runs/run_outcome.h"

#include <string>
#include <vector>

namespace zelmora {

// Applies the outcomes of the analysis's runs, in plan order, to the first-order results: stores
// each safety factor, appends the log lines, computes the sensitivities, beta, the probability
// of failure and the linearity where their runs are in. A failed run raises its error, after
// what it read is stored.
class FirstOrderEvaluation {
public:
    // `results` starts as the project holds them; each outcome applied is appended to `applied`;
    // errors name the inputs' command line and result file.
    FirstOrderEvaluation(CalculationLog& log, const AnalysisInputs& inputs, StoredResults& results,
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
    double MeanFactor() const;

    CalculationLog& log_;
    const AnalysisInputs& inputs_;
    StoredResults& results_;
    std::vector<RunOutcome>& applied_;
    std::vector<double> sensitivities_;
    FirstOrderResult estimate_;
    bool complete_ = false;
};

} // namespace zelmora
