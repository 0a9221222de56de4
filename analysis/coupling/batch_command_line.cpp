#include "analysis/coupling/finite_element_run.h"

#include "analysis/coupling/modification_file.h"
#include "analysis/coupling/result_file.h"
#include "project/errors.h"
#include "project/project_state.h"

namespace zelmora {

std::string BuildBatchCommandLine() {
    return State.BatchPath + " " + State.ProjectPath + " /c";
}

void PerformRun(int runId, const std::string& batchCommandLine, const ProcessRunner& runner) {
    WriteModificationFile(State.ModificationFilePath, runId);
    // The exit code says nothing about the result; only a calculator that never started
    // is noticed, so that no earlier run's result file is taken for this one.
    if (runner(batchCommandLine, 1) == -1) {
        throw Error("The batch calculator could not be started: " + batchCommandLine);
    }
    ReadResultFile(State.ResultFilePath, runId);
}

} // namespace zelmora
