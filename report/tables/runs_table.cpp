#include "report/tables/runs_table.h"

#include "analysis/coupling/modification_file.h"
#include "analysis/coupling/written_value.h"
#include "analysis/methods/derived_results.h"
#include "analysis/methods/method_runs.h"
#include "analysis/methods/random_variables.h"
#include "analysis/methods/sampling_method.h"
#include "analysis/runs/run_errors.h"
#include "analysis/runs/run_plan.h"
#include "project/joined_text.h"
#include "project/number_forms.h"
#include "report/tables/result_text.h"

#include <algorithm>

namespace zelmora {

namespace {

std::string Reduced(int runId, const std::vector<VariableResult>& variables) {
    switch (runId) {
    case StandardRun:
        return "none (standard run)";
    case MeanValueRun:
        return "none (mean values)";
    case AllReducedRun:
        return "all";
    default:
        return VariableLabel(variables[static_cast<std::size_t>(runId - 1)]);
    }
}

// A value as the reader knows it: a friction angle travels as its sine, the angle the
// calculator reads from it beside it.
std::string WrittenText(const SoilRows& soil, int variableId, double value) {
    const RandomVariable v = VariableOf(soil, variableId);
    const std::string where =
        "Row " + FormatInteger(v.row, 0) + ", set " + FormatInteger(v.setNumber, 0) + ": ";
    if (!v.friction) {
        return where + "c " + FormatFixed(value, 0, 4);
    }
    return where + "sin φ " + FormatFixed(value, 0, 4) + " (φ " +
           FormatFixed(AngleOfWrittenSine(value), 0, 1) + "°)";
}

std::string ValueLine(const AnalysisInputs& inputs, const VariableResult& v, Strength strength) {
    return WrittenText(inputs.soil, v.variableId,
                       ModificationValue(inputs, v.variableId, strength));
}

std::string ValuesWritten(const AnalysisInputs& inputs, int runId,
                          const std::vector<VariableResult>& variables) {
    if (runId > 0) {
        return ValueLine(inputs, variables[static_cast<std::size_t>(runId - 1)], Strength::Reduced);
    }
    if (runId == StandardRun || variables.empty()) {
        return "none";
    }
    std::string lines;
    for (const VariableResult& v : variables) {
        AppendJoined(
            lines, "\n",
            ValueLine(inputs, v, runId == MeanValueRun ? Strength::Mean : Strength::Reduced));
    }
    return lines;
}

// One line for a sample: "sin φ1 0.4067 (24.0°) · c1 3.9400", the number after φ or c the row.
std::string CompactWritten(const SoilRows& soil, const std::vector<ValueWritten>& written) {
    std::string line;
    for (const ValueWritten& v : written) {
        const RandomVariable variable = VariableOf(soil, v.variableId);
        const std::string row = FormatInteger(variable.row, 0);
        AppendJoined(line, " · ",
                     variable.friction ? "sin φ" + row + " " + FormatFixed(v.value, 0, 4) + " (" +
                                             FormatFixed(AngleOfWrittenSine(v.value), 0, 1) + "°)"
                                       : "c" + row + " " + FormatFixed(v.value, 0, 4));
    }
    return line;
}

std::string SafetyFactor(const StoredResults& stored, int runId,
                         const std::vector<VariableResult>& variables) {
    const int key = runId > 0 ? variables[static_cast<std::size_t>(runId - 1)].variableId : runId;
    return FixedText(StoredSafetyFactor(stored, key));
}

// A non-zero status whose result was used all the same says so, and so does a run taken from
// the journal of an interrupted analysis.
std::string ExitStatusText(const RunOutcome& outcome) {
    if (!outcome.started) {
        return "not started";
    }
    std::string status = FormatInteger(outcome.exitStatus, 0);
    if (NonZeroExitAccepted(outcome)) {
        status += " (not 0, result used)";
    }
    return outcome.reused ? status + " (reused from the interrupted analysis)" : status;
}

const RunOutcome* OutcomeOf(int runId, const AnalysisRecord& record) {
    const auto found = std::find_if(record.outcomes.begin(), record.outcomes.end(),
                                    [runId](const RunOutcome& o) { return o.runId == runId; });
    return found != record.outcomes.end() ? &*found : nullptr;
}

// What the table shows of the project: its inputs, its stored results and their variables.
struct ShownProject {
    AnalysisInputs inputs;
    StoredResults stored;
    std::vector<VariableResult> variables;
};

std::vector<std::string> RunRow(int runId, const ShownProject& project,
                                const AnalysisRecord* record) {
    const std::vector<VariableResult>& variables = project.variables;
    std::vector<std::string> cells{FormatInteger(runId, 0), Reduced(runId, variables),
                                   ValuesWritten(project.inputs, runId, variables)};
    if (!record) {
        cells.push_back(SafetyFactor(project.stored, runId, variables));
        return cells;
    }
    const RunOutcome* outcome = OutcomeOf(runId, *record);
    if (!outcome) {
        cells.insert(cells.end(), {NoValue, NoValue, NoValue});
        return cells;
    }
    cells.push_back(SafetyFactor(project.stored, runId, variables));
    cells.push_back(ExitStatusText(*outcome));
    cells.push_back(FormatFixed(outcome->seconds, 0, 2));
    return cells;
}

} // namespace

TextTable MethodRunsTable(const AnalysisRecord& record, const SoilRows& soil) {
    TextTable table{{"Run", "Values written", "Safety factor", "Exit status", "Seconds"}, {}};
    for (const RunOutcome& outcome : record.outcomes) {
        if (outcome.runId < FirstMethodRunId || outcome.runId >= FirstSampleRunId) {
            continue;
        }
        std::string written;
        for (const ValueWritten& v : outcome.written) {
            AppendJoined(written, "\n", WrittenText(soil, v.variableId, v.value));
        }
        table.rows.push_back(
            {FormatInteger(static_cast<int>(table.rows.size()) + 1, 0), written,
             FixedText(outcome.error.empty() ? outcome.safetyFactor : std::nullopt),
             ExitStatusText(outcome), FormatFixed(outcome.seconds, 0, 2)});
    }
    return table;
}

TextTable SamplingRunsTable(const AnalysisRecord& record, const SoilRows& soil) {
    TextTable table{{"Sample", "Values written", "Safety factor", "F < 1"}, {}};
    for (const RunOutcome& outcome : record.outcomes) {
        if (outcome.runId < FirstSampleRunId) {
            continue;
        }
        const bool failed = !outcome.error.empty() || !outcome.safetyFactor;
        const std::optional<double> factor =
            failed ? std::nullopt : std::optional<double>(outcome.safetyFactor);
        table.rows.push_back({FormatInteger(outcome.runId - FirstSampleRunId, 0),
                              CompactWritten(soil, outcome.written), FixedText(factor),
                              failed ? "run failed" : (*factor < 1 ? "yes" : "no")});
    }
    return table;
}

TextTable RunsTable(const ProjectState& project, const AnalysisRecord* record) {
    ShownProject shown{InputsOf(project), StoredResultsOf(project), {}};
    shown.variables = DeriveResults(shown.inputs, shown.stored).variables;
    TextTable table{{"Run", "Reduced", "Values written", "Safety factor"}, {}};
    if (record) {
        table.header.insert(table.header.end(), {"Exit status", "Seconds"});
    }
    for (const int runId : RunIds(static_cast<int>(shown.variables.size()))) {
        table.rows.push_back(RunRow(runId, shown, record));
    }
    return table;
}

} // namespace zelmora
