#include "analysis/methods/first_order_evaluation.h"

#include "analysis/methods/approximate_tail_probability.h"
#include "analysis/runs/run_errors.h"
#include "analysis/runs/run_plan.h"
#include "project/errors.h"
#include "project/number_forms.h"
#include "project/project_state.h"

#include <cmath>

namespace zelmora {

namespace {

std::string F(double value) {
    return FormatFixed(value, 8, 4);
}

double SafetyFactor(int key) {
    return Entry(State.SafetyFactors, key);
}

} // namespace

FirstOrderEvaluation::FirstOrderEvaluation(CalculationLog& log, const std::string& batchCommandLine,
                                           std::vector<RunOutcome>& applied)
    : log_(log), batchCommandLine_(batchCommandLine), applied_(applied) {}

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

void FirstOrderEvaluation::ApplyInOrder(const RunOutcome& outcome) {
    RaiseErrorsBeforeReading(outcome, batchCommandLine_);
    if (outcome.safetyFactor) {
        State.LastSafetyFactor = *outcome.safetyFactor;
        Entry(State.SafetyFactors, Entry(State.Variables, outcome.runId)) = *outcome.safetyFactor;
    }
    RaiseReadingErrors(outcome);
    switch (outcome.runId) {
    case StandardRun:
        Append("Safety Factor Standard");
        Append(F(State.LastSafetyFactor));
        break;
    case MeanValueRun:
        Append("number of variables: " + FormatInteger(State.VariableCount, 0));
        Append("Safety Factor Mean Values");
        Append(F(State.LastSafetyFactor));
        if (State.VariableCount == 0) {
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
    const int variable = Entry(State.Variables, position);
    const double sensitivity = NarrowToDouble(
        CheckedDivide(static_cast<long double>(SafetyFactor(MeanValueRun)) - SafetyFactor(variable),
                      State.StepSize));
    Entry(State.Sensitivities, variable) = sensitivity;
    squares_ = NarrowToDouble(static_cast<long double>(squares_) +
                              static_cast<long double>(sensitivity) * sensitivity);
    total_ = NarrowToDouble(static_cast<long double>(total_) + sensitivity);
    Append("Safety Factor Test: " + FormatInteger(position, 0));
    Append(F(State.LastSafetyFactor));
    if (position == State.VariableCount) {
        EvaluateBeta();
    }
}

void FirstOrderEvaluation::EvaluateBeta() {
    const double root = NarrowToDouble(sqrtl(squares_));
    State.Beta = NarrowToDouble(
        CheckedDivide(static_cast<long double>(SafetyFactor(MeanValueRun)) - 1.0L, root));
    State.FailureProbability = TailProbability(State.Beta);
    Append("Beta: ");
    Append(F(State.Beta));
    Append("Probability of Failure: ");
    Append(F(State.FailureProbability));
    log_.SetProbabilityLabel(F(State.FailureProbability));
}

void FirstOrderEvaluation::EvaluateLinearity() {
    State.Linearity = NarrowToDouble(CheckedDivide(
        static_cast<long double>(SafetyFactor(MeanValueRun)) - SafetyFactor(AllReducedRun),
        static_cast<long double>(State.StepSize) * total_));
    Append("Safety Factor Linearity check");
    Append(F(State.LastSafetyFactor));
    Append("Linearity (1 = perfect)");
    Append(F(State.Linearity));
}

} // namespace zelmora
