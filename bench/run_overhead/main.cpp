// Prints the mean time of one finite-element run (modification file, calculator, result file)
// and of the bare start and wait of the same calculator, and their ratio.
//
//   run_overhead [runs]
#include "analysis/coupling/data_file_paths.h"
#include "analysis/coupling/finite_element_run.h"
#include "processes/process_runner.h"
#include "project/project_state.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

int Execute(const std::string& commandLine, std::uint16_t showMode) {
    return zelmora::ExecuteAndWait(commandLine, showMode);
}

void PrepareProject(const std::filesystem::path& folder) {
    using zelmora::State;
    std::filesystem::create_directories(folder / "bench.dta");
    State.BatchPath = RUN_OVERHEAD_CALCULATOR;
    State.ProjectPath = (folder / "bench.plx").string();
    State.ProjectName = "bench";
    State.StepSize = 1.0;
    for (int row = 1; row <= 4; ++row) {
        zelmora::Row(State, row) = {row, 30.0 + row, 3, 10.0 * row, 2};
    }
    zelmora::Entry(State.Variables, -2) = -2;
    zelmora::Entry(State.Variables, -1) = -1;
    for (int i = 1; i <= 8; ++i) {
        zelmora::Entry(State.Variables, i) = i <= 4 ? i : i + 6;
    }
    State.VariableCount = 8;
    zelmora::DeriveDataFilePaths();
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 400;
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "zelmora-run-overhead";
    PrepareProject(folder);
    const std::string commandLine = zelmora::BuildBatchCommandLine();

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
            zelmora::PerformRun(0, commandLine, Execute);
            runTime += Clock::now() - start;
        }
    }
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
