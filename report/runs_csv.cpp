#include "report/runs_csv.h"

#include "analysis/coupling/written_value.h"
#include "analysis/methods/method_runs.h"
#include "analysis/methods/sampling_method.h"
#include "analysis/runs/run_plan.h"
#include "project/number_forms.h"
#include "report/finished_runs.h"

#include <algorithm>
#include <map>

namespace zelmora {

namespace {

struct Column {
    int variableId = 0;
    bool friction = true;
};

std::vector<Column> StrengthColumns(const DerivedResults& derived) {
    std::vector<Column> columns;
    for (const VariableResult& v : derived.variables) {
        columns.push_back({v.variableId, v.parameter == Parameter::FrictionAngle});
    }
    return columns;
}

std::string Header(const DerivedResults& derived) {
    std::string header = "run,kind";
    for (const VariableResult& v : derived.variables) {
        header += ",row" + FormatInteger(v.row, 0) +
                  (v.parameter == Parameter::FrictionAngle ? "_phi" : "_cohesion");
    }
    return header + ",F,failed,reused\n";
}

std::string Kind(const RunOutcome& run, const AnalysisRecord& record, bool designPoint) {
    switch (run.runId) {
    case StandardRun:
        return "standard";
    case MeanValueRun:
        return "mean";
    case AllReducedRun:
        return "all-reduced";
    default:
        break;
    }
    if (run.runId >= FirstSampleRunId) {
        return "sample";
    }
    if (run.runId >= FirstMethodRunId) {
        if (designPoint) {
            return "design-point";
        }
        return record.method && record.method->method == Method::Taylor ? "taylor" : "form";
    }
    return "reduced";
}

// The strengths as the columns hold them: φ in degrees, c as written.
std::map<int, double> Strengths(const RunOutcome& run, const std::vector<Column>& columns) {
    std::map<int, double> values;
    for (const ValueWritten& v : run.written) {
        const auto column = std::find_if(columns.begin(), columns.end(), [&v](const Column& c) {
            return c.variableId == v.variableId;
        });
        if (column != columns.end()) {
            values[v.variableId] = column->friction ? AngleOfWrittenSine(v.value) : v.value;
        }
    }
    return values;
}

std::string Row(const std::string& run, const std::string& kind,
                const std::map<int, double>& values, const std::vector<Column>& columns,
                const std::string& tail) {
    std::string row = run + "," + kind;
    for (const Column& column : columns) {
        const auto found = values.find(column.variableId);
        row += "," + (found != values.end() ? FormatFixed(found->second, 0, 6) : std::string());
    }
    return row + "," + tail + "\n";
}

std::string RunRow(const RunOutcome& run, const AnalysisRecord& record,
                   const std::vector<Column>& columns, bool designPoint) {
    const bool failed = !run.error.empty() || !run.safetyFactor;
    const std::string factor = failed ? "" : FormatFixed(*run.safetyFactor, 0, 4);
    return Row(FormatInteger(run.runId, 0), Kind(run, record, designPoint), Strengths(run, columns),
               columns, factor + (failed ? ",yes," : ",no,") + (run.reused ? "yes" : "no"));
}

std::string InadmissibleRow(const InadmissibleSample& sample, const std::vector<Column>& columns) {
    std::map<int, double> values;
    for (const DrawnStrength& strength : sample.strengths) {
        values[strength.variableId] = strength.value;
    }
    return Row(FormatInteger(FirstSampleRunId + sample.number, 0), "sample", values, columns,
               ",inadmissible,no");
}

// The design point's run is the last of a converged FORM's, before any sample.
const RunOutcome* DesignPointRun(const AnalysisRecord& record) {
    if (!record.method || record.method->method != Method::Form ||
        !record.method->designPointFactor) {
        return nullptr;
    }
    const RunOutcome* last = nullptr;
    for (const RunOutcome& run : record.outcomes) {
        if (run.runId >= FirstMethodRunId && run.runId < FirstSampleRunId) {
            last = &run;
        }
    }
    return last;
}

} // namespace

std::string RunsCsv(const ProjectState& project, const AnalysisRecord& record) {
    const DerivedResults derived = FinishedRuns(record, project).Results();
    const std::vector<Column> columns = StrengthColumns(derived);
    const RunOutcome* designPoint = DesignPointRun(record);
    std::vector<InadmissibleSample> notRun;
    if (record.sampling) {
        notRun = record.sampling->inadmissibleSamples;
    }
    auto next = notRun.begin();
    std::string csv = Header(derived);
    for (const RunOutcome& run : record.outcomes) {
        for (; next != notRun.end() && run.runId >= FirstSampleRunId &&
               FirstSampleRunId + next->number < run.runId;
             ++next) {
            csv += InadmissibleRow(*next, columns);
        }
        csv += RunRow(run, record, columns, &run == designPoint);
    }
    for (; next != notRun.end(); ++next) {
        csv += InadmissibleRow(*next, columns);
    }
    return csv;
}

} // namespace zelmora
