#include "analysis/run_evaluation.h"

#include "analysis/run_errors.h"
#include "analysis/run_plan.h"
#include "analysis/tail_probability.h"
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

RunEvaluation::RunEvaluation(CalculationLog& log, AnalysisRecord& record)
    : log_(log), record_(record) {}

// The record keeps every run applied, the failing one with its error, so that what is reported
// after a failure shows how far the analysis came.
void RunEvaluation::Apply(const RunOutcome& outcome) {
    record_.outcomes.push_back(outcome);
    try {
        ApplyInOrder(outcome);
    } catch (const std::exception& error) {
        record_.outcomes.back().error = error.what();
        throw;
    }
}

void RunEvaluation::ApplyInOrder(const RunOutcome& outcome) {
    RaiseErrorsBeforeReading(outcome, record_.batchCommandLine);
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

void RunEvaluation::ApplyVariableRun(int position) {
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

void RunEvaluation::EvaluateBeta() {
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

void RunEvaluation::EvaluateLinearity() {
    State.Linearity = NarrowToDouble(CheckedDivide(
        static_cast<long double>(SafetyFactor(MeanValueRun)) - SafetyFactor(AllReducedRun),
        static_cast<long double>(State.StepSize) * total_));
    Append("Safety Factor Linearity check");
    Append(F(State.LastSafetyFactor));
    Append("Linearity (1 = perfect)");
    Append(F(State.Linearity));
}

} // namespace zelmora
