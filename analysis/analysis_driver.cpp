#include "analysis/analysis_driver.h"

#include "analysis/batch_coupling.h"
#include "analysis/tail_probability.h"
#include "project/errors.h"
#include "project/number_forms.h"
#include "project/project_state.h"

#include <cmath>

namespace zelmora {

namespace {

constexpr int StandardRun = -1;
constexpr int MeanValueRun = 0;
constexpr int AllReducedRun = -2;

std::string F(double value) {
    return FormatFixed(value, 8, 4);
}

double SafetyFactor(int key) {
    return Entry(State.SafetyFactors, key);
}

void ClearLogBelowTitle(CalculationLog& log) {
    const int count = log.LineCount();
    for (int k = 0; k < count; ++k) {
        log.DeleteLine(1);
    }
}

struct SensitivitySums {
    double squares = 0;
    double total = 0;
};

class Analysis {
public:
    Analysis(CalculationLog& log, const ProcessRunner& runner)
        : log_(log), runner_(runner), commandLine_(BuildBatchCommandLine()) {}

    void RunAndEvaluate() {
        Run(StandardRun);
        Append("Safety Factor Standard");
        Append(F(State.LastSafetyFactor));
        Run(MeanValueRun);
        Append("number of variables: " + FormatInteger(State.VariableCount, 0));
        Append("Safety Factor Mean Values");
        Append(F(State.LastSafetyFactor));
        const SensitivitySums sums = RunEachVariable();
        EvaluateBeta(sums.squares);
        Run(AllReducedRun);
        EvaluateLinearity(sums.total);
    }

private:
    void Run(int runId) { PerformRun(runId, commandLine_, runner_); }
    void Append(const std::string& line) { log_.AppendLine(line); }

    SensitivitySums RunEachVariable() {
        SensitivitySums sums;
        for (int i = 1; i <= State.VariableCount; ++i) {
            const int variable = Entry(State.Variables, i);
            Run(i);
            const double sensitivity = NarrowToDouble(CheckedDivide(
                static_cast<long double>(SafetyFactor(MeanValueRun)) - SafetyFactor(variable),
                State.StepSize));
            Entry(State.Sensitivities, variable) = sensitivity;
            sums.squares = NarrowToDouble(static_cast<long double>(sums.squares) +
                                          static_cast<long double>(sensitivity) * sensitivity);
            sums.total = NarrowToDouble(static_cast<long double>(sums.total) + sensitivity);
            Append("Safety Factor Test: " + FormatInteger(i, 0));
            Append(F(State.LastSafetyFactor));
        }
        return sums;
    }

    void EvaluateBeta(double sumOfSquares) {
        const double root = NarrowToDouble(sqrtl(sumOfSquares));
        State.Beta = NarrowToDouble(
            CheckedDivide(static_cast<long double>(SafetyFactor(MeanValueRun)) - 1.0L, root));
        State.FailureProbability = TailProbability(State.Beta);
        Append("Beta: ");
        Append(F(State.Beta));
        Append("Probability of Failure: ");
        Append(F(State.FailureProbability));
        log_.SetProbabilityLabel(F(State.FailureProbability));
    }

    void EvaluateLinearity(double sumOfSensitivities) {
        State.Linearity = NarrowToDouble(CheckedDivide(
            static_cast<long double>(SafetyFactor(MeanValueRun)) - SafetyFactor(AllReducedRun),
            static_cast<long double>(State.StepSize) * sumOfSensitivities));
        Append("Safety Factor Linearity check");
        Append(F(State.LastSafetyFactor));
        Append("Linearity (1 = perfect)");
        Append(F(State.Linearity));
    }

    CalculationLog& log_;
    const ProcessRunner& runner_;
    const std::string commandLine_;
};

// Leaves the finite-element project without modifications.
void WriteStandardModificationFile() {
    WriteModificationFile(State.ModificationFilePath, StandardRun);
}

} // namespace

void BuildVariableList() {
    State.SafetyFactors.fill(0.0);
    State.Beta = 0;
    Entry(State.Variables, AllReducedRun) = AllReducedRun;
    Entry(State.Variables, StandardRun) = StandardRun;
    int count = 0;
    for (int k = 1; k <= SoilRowCount; ++k) {
        if (Row(State, k).PhiStdDev > 0) {
            Entry(State.Variables, ++count) = k;
        }
    }
    for (int k = 1; k <= SoilRowCount; ++k) {
        if (Row(State, k).CohesionStdDev > 0) {
            Entry(State.Variables, ++count) = k + SoilRowCount;
        }
    }
    State.VariableCount = count;
}

void RunAnalysis(CalculationLog& log, const ProcessRunner& runner) {
    log.Show();
    ClearLogBelowTitle(log);
    Analysis analysis(log, runner);
    BuildVariableList();
    DeriveDataFilePaths();
    try {
        analysis.RunAndEvaluate();
    } catch (...) {
        // A failed analysis must not leave reduced strengths in the project; should this
        // rewrite fail as well, the first failure is the one to report.
        try {
            WriteStandardModificationFile();
        } catch (...) {
        }
        throw;
    }
    WriteStandardModificationFile();
}

} // namespace zelmora
