// Prints the mean time of one finite-element run as an analysis in place makes it (modification
// file, calculator, result file) and of the bare start and wait of the same calculator, and
// their ratio.
//
//   run_overhead [runs]
#include "analysis/coupling/analysis_inputs.h"
#include "analysis/coupling/modification_file.h"
#include "analysis/runs/in_place_executor.h"
#include "analysis/runs/run_errors.h"
#include "processes/process_runner.h"
#include "project/project_state.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

int Execute(const std::string& commandLine, std::uint16_t showMode) {
    return zelmora::ExecuteAndWait(commandLine, showMode);
}

zelmora::AnalysisInputs PrepareProject(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder / "bench.dta");
    zelmora::ProjectState project{};
    project.BatchPath = RUN_OVERHEAD_CALCULATOR;
    project.ProjectPath = (folder / "bench.plx").string();
    project.ProjectName = "bench";
    project.StepSize = 1.0;
    for (int row = 1; row <= 4; ++row) {
        zelmora::Row(project, row) = {row, 30.0 + row, 3, 10.0 * row, 2};
    }
    return zelmora::InputsOf(project);
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 400;
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "zelmora-run-overhead";
    const zelmora::AnalysisInputs inputs = PrepareProject(folder);
    const std::string& commandLine = inputs.batchCommandLine;
    const std::unique_ptr<zelmora::ProcessSet> processes = zelmora::MakeChildProcesses();
    const zelmora::ExecutionControl control;
    const std::unique_ptr<zelmora::RunExecutor> executor =
        zelmora::MakeInPlaceExecutor(*processes, inputs, {}, -1, control);
    const zelmora::PlannedRun meanValues{0, zelmora::ModificationLines(inputs, 0), false,
                                         zelmora::ValuesWrittenBy(inputs, 0)};

    // The two kinds alternate, and which goes first alternates too, so that drift in the
    // machine's load falls on both alike.
    Clock::duration spawnTime{};
    Clock::duration runTime{};
    for (int k = 0; k < 2 * runs; ++k) {
        const bool bare = (k % 2 == 0) == (k % 4 < 2);
        const Clock::time_point start = Clock::now();
        if (bare) {
            if (Execute(commandLine, 1) != 0) {
                std::fprintf(stderr, "the calculator failed\n");
                return 1;
            }
            spawnTime += Clock::now() - start;
        } else {
            executor->Submit({meanValues});
            zelmora::CheckedSafetyFactor(executor->Next(), inputs);
            runTime += Clock::now() - start;
        }
    }
    executor->Finish(zelmora::RunExecutor::Ending::Succeeded);
    std::filesystem::remove_all(folder);

    const double spawnMicroseconds =
        std::chrono::duration<double, std::micro>(spawnTime).count() / runs;
    const double runMicroseconds =
        std::chrono::duration<double, std::micro>(runTime).count() / runs;
    std::printf("runs: %d\n", runs);
    std::printf("bare spawn and wait: %.1f us\n", spawnMicroseconds);
    std::printf("finite-element run:  %.1f us\n", runMicroseconds);
    std::printf("ratio: %.3f (target <= 1.3)\n", runMicroseconds / spawnMicroseconds);
    return 0;
}
