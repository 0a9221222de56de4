#include "analysis/failed_run.h"

#include "analysis/methods/method_runs.h"
#include "analysis/methods/random_variables.h"
#include "analysis/methods/sampling_method.h"
#include "analysis/runs/calculator_output.h"
#include "analysis/runs/run_plan.h"
#include "project/number_forms.h"

#include <filesystem>

namespace zelmora {

namespace {

std::string WhatRunDid(const AnalysisInputs& inputs, int runId, Method method) {
    if (runId >= FirstSampleRunId) {
        return "sample " + FormatInteger(runId - FirstSampleRunId, 0);
    }
    if (runId >= FirstMethodRunId) {
        return MethodTitle(method);
    }
    switch (runId) {
    case StandardRun:
        return "standard";
    case MeanValueRun:
        return "mean values";
    case AllReducedRun:
        return "all lowered";
    default: {
        const RandomVariable v =
            VariableOf(inputs.soil, inputs.variables[static_cast<std::size_t>(runId - 1)]);
        return std::string(v.friction ? "\u03c6" : "c") + " of row " + FormatInteger(v.row, 0) +
               " lowered";
    }
    }
}

std::string Full(const std::string& path) {
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(path, error);
    return error ? path : full.lexically_normal().string();
}

} // namespace

std::optional<RunErrorDetail> FailedRunDetail(const AnalysisRecord& record,
                                              const AnalysisInputs& inputs, Method method) {
    if (record.outcomes.empty() || record.outcomes.back().error.empty()) {
        return std::nullopt;
    }
    const RunOutcome& failed = record.outcomes.back();
    RunErrorDetail detail;
    const std::string number = "run " + std::to_string(record.outcomes.size());
    const std::string what = WhatRunDid(inputs, failed.runId, method);
    detail.run = number + ", " + what;
    detail.failedRun = number + " (" + what + ")";
    const std::optional<std::string> reason = CalculatorReason(failed.calculatorOutput);
    detail.cause = reason ? detail.failedRun + ": " + *reason : detail.failedRun;
    detail.path = Full(inputs.projectPath);
    detail.copyPath = failed.copyPath.empty() ? "" : Full(failed.copyPath);
    detail.calculatorOutput = failed.calculatorOutput;
    return detail;
}

} // namespace zelmora
