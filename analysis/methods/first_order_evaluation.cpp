#include "analysis/methods/first_order_evaluation.h"

#include "analysis/methods/approximate_tail_probability.h"
#include "analysis/runs/run_errors.h"
#include "analysis/runs/run_plan.h"
#include "project/errors.h"
#include "project/number_forms.h"

namespace zelmora {

namespace {

// A value as the log shows it.
std::string LogValue(double value) {
    return FormatFixed(value, 8, 4);
}

} // namespace

FirstOrderEvaluation::FirstOrderEvaluation(CalculationLog& log, const AnalysisInputs& inputs,
                                           StoredResults& results, std::vector<RunOutcome>& applied)
    : log_(log), inputs_(inputs), results_(results), applied_(applied) {}

// The runs applied are kept, the failing one with its error, so that what is reported after a
// failure shows how far the analysis came.
void FirstOrderEvaluation::Apply(const RunOutcome& outcome) {
    applied_.push_back(outcome);
    try {
        ApplyInOrder(outcome);
    } catch (const std::exception& error) {
        applied_.back().error = error.what();
        throw;
    }
}

double FirstOrderEvaluation::MeanFactor() const {
    return Entry(results_.safetyFactors, MeanValueRun);
}

void FirstOrderEvaluation::ApplyInOrder(const RunOutcome& outcome) {
    RaiseErrorsBeforeReading(outcome, inputs_);
    if (outcome.safetyFactor) {
        StoreRunFactor(results_, inputs_.variables, outcome.runId, *outcome.safetyFactor);
    }
    RaiseReadingErrors(outcome, inputs_);
    const int variableCount = static_cast<int>(inputs_.variables.size());
    switch (outcome.runId) {
    case StandardRun:
        Append("Safety Factor Standard");
        Append(LogValue(results_.lastSafetyFactor));
        break;
    case MeanValueRun:
        Append("number of variables: " + FormatInteger(variableCount, 0));
        Append("Safety Factor Mean Values");
        Append(LogValue(results_.lastSafetyFactor));
        if (variableCount == 0) {
            EvaluateBeta();
        }
        break;
    case AllReducedRun:
        EvaluateLinearity();
        complete_ = true;
        break;
    default:
        ApplyVariableRun(outcome.runId);
    }
}

void FirstOrderEvaluation::ApplyVariableRun(int position) {
    const int variable = inputs_.variables[static_cast<std::size_t>(position - 1)];
    const double sensitivity = FirstOrderSensitivity(
        MeanFactor(), Entry(results_.safetyFactors, variable), inputs_.stepSize);
    Entry(results_.sensitivities, variable) = sensitivity;
    sensitivities_.push_back(sensitivity);
    Append("Safety Factor Test: " + FormatInteger(position, 0));
    Append(LogValue(results_.lastSafetyFactor));
    if (position == static_cast<int>(inputs_.variables.size())) {
        EvaluateBeta();
    }
}

// Without a spread σ_F is 0, and the division by it raises, as the log's analysis always has.
void FirstOrderEvaluation::EvaluateBeta() {
    estimate_ = FirstOrderResultOf(MeanFactor(), sensitivities_, Precision::Extended);
    results_.beta = ReliabilityIndex(MeanFactor(), estimate_.sigma.value_or(0));
    results_.failureProbability = TailProbability(results_.beta);
    Append("Beta: ");
    Append(LogValue(results_.beta));
    Append("Probability of Failure: ");
    Append(LogValue(results_.failureProbability));
    log_.SetProbabilityLabel(LogValue(results_.failureProbability));
}

void FirstOrderEvaluation::EvaluateLinearity() {
    results_.linearity = NarrowToDouble(CheckedDivide(
        static_cast<long double>(MeanFactor()) - Entry(results_.safetyFactors, AllReducedRun),
        static_cast<long double>(inputs_.stepSize) * estimate_.total));
    Append("Safety Factor Linearity check");
    Append(LogValue(results_.lastSafetyFactor));
    Append("Linearity (1 = perfect)");
    Append(LogValue(results_.linearity));
}

} // namespace zelmora
